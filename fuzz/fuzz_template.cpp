// TemplateFile.load on any bytes; a template that opens saves back onto its own file and
// opens again with the same values.
#include "FuzzSupport.h"
#include "store/TemplateFile.h"

namespace {

// Every value of a template in one comparable list.
QStringList templateValues(const TemplateFile &t)
{
    QStringList v{t.frameSize(),
                  QString::number(t.backColor()),
                  QString::number(t.borderColor()),
                  QString::number(t.borderWidth()),
                  QString::number(t.month()),
                  QString::number(t.day()),
                  t.year(),
                  t.time()};
    for (int i = 0; i < TemplateFile::ItemCount; ++i)
        v << t.data(i) << t.fontName(i) << QString::number(t.fontSize(i))
          << QString::number(t.fontColor(i)) << QString::number(t.fontBold(i))
          << QString::number(t.fontItalic(i)) << QString::number(t.fontStrikethru(i))
          << QString::number(t.fontUnderline(i)) << QString::number(t.fontAlign(i));
    return v;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::writeInput(QStringLiteral("t.kvl"), data, size);
    TemplateFile tpl;
    if (!tpl.load(path)) {
        if (tpl.errorString().isEmpty())
            FuzzSupport::fail("OpenFile failed without a reason");
        return 0;
    }
    const QStringList read = templateValues(tpl);
    if (!tpl.save(path, true))
        FuzzSupport::fail("SaveFile failed", tpl.errorString());
    TemplateFile again;
    if (!again.load(path))
        FuzzSupport::fail("a saved template does not open", again.errorString());
    const QStringList reread = templateValues(again);
    for (qsizetype i = 0; i < read.size(); ++i) {
        if (read[i] != reread[i])
            FuzzSupport::fail("a saved template reads otherwise",
                              QStringLiteral("%1: %2 / %3").arg(i).arg(read[i], reread[i]));
    }
    return 0;
}
