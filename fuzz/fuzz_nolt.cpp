// AppSettings.load on any bytes; the settings save back onto the file and read the same again.
#include "FuzzSupport.h"
#include "store/AppSettings.h"

namespace {

QStringList values(const AppSettings &s)
{
    return {QString::number(s.keepWindowGeometryValue()),
            QString::number(s.x()),
            QString::number(s.y()),
            QString::number(s.width()),
            QString::number(s.height()),
            QString::number(s.dateFormat()),
            QString::number(s.delimiterFormat()),
            QString::number(s.englishMonthsValue()),
            QString::number(s.marginFontVBorder()),
            QString::number(s.marginFontHBorder()),
            QString::number(s.marginFrameHBorder()),
            QString::number(s.marginFontVFrame()),
            QString::number(s.jpegQuality()),
            QString::number(s.jpegType()),
            s.loadPath(),
            s.savePath(),
            s.templatePath()};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::writeInput(QStringLiteral("nolt.ini"), data, size);
    AppSettings settings(QStringLiteral("/opt/morvel"), 15.0, 15.0);
    if (!settings.load(path))
        FuzzSupport::fail("an existing file was not read", settings.errorString());
    const QStringList read = values(settings);
    if (!settings.save(path))
        FuzzSupport::fail("SaveFile failed", settings.errorString());
    AppSettings again(QStringLiteral("/elsewhere"), 12.0, 12.0);
    if (!again.load(path))
        FuzzSupport::fail("a saved file does not open", again.errorString());
    const QStringList reread = values(again);
    for (qsizetype i = 0; i < read.size(); ++i) {
        if (read[i] != reread[i])
            FuzzSupport::fail("saved settings read otherwise",
                              QStringLiteral("%1: %2 / %3").arg(i).arg(read[i], reread[i]));
    }
    return 0;
}
