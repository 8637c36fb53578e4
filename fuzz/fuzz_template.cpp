// clsTemplateIO.OpenFile on any bytes; a template that opens saves back onto its own file and
// opens again with the same values.
#include "FuzzSupport.h"
#include "store/clsTemplateIO.h"

namespace {

// Every value of a template in one comparable list.
QStringList templateValues(const clsTemplateIO &t)
{
    QStringList v{t.FrameSize(),
                  QString::number(t.BackColor()),
                  QString::number(t.BorderColor()),
                  QString::number(t.BorderWidth()),
                  QString::number(t.Month()),
                  QString::number(t.Day()),
                  t.Year(),
                  t.Time()};
    for (int i = 0; i < clsTemplateIO::ItemCount; ++i)
        v << t.Data(i) << t.FontName(i) << QString::number(t.FontSize(i))
          << QString::number(t.FontColor(i)) << QString::number(t.FontBold(i))
          << QString::number(t.FontItalic(i)) << QString::number(t.FontStrikethru(i))
          << QString::number(t.FontUnderline(i)) << QString::number(t.FontAlign(i));
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
    clsTemplateIO tpl;
    if (!tpl.OpenFile(path)) {
        if (tpl.errorString().isEmpty())
            FuzzSupport::fail("OpenFile failed without a reason");
        return 0;
    }
    const QStringList read = templateValues(tpl);
    if (!tpl.SaveFile(path, true))
        FuzzSupport::fail("SaveFile failed", tpl.errorString());
    clsTemplateIO again;
    if (!again.OpenFile(path))
        FuzzSupport::fail("a saved template does not open", again.errorString());
    const QStringList reread = templateValues(again);
    for (qsizetype i = 0; i < read.size(); ++i) {
        if (read[i] != reread[i])
            FuzzSupport::fail("a saved template reads otherwise",
                              QStringLiteral("%1: %2 / %3").arg(i).arg(read[i], reread[i]));
    }
    return 0;
}
