// clsNoltIO.OpenFile on any bytes; the settings save back onto the file and read the same again.
#include "FuzzSupport.h"
#include "store/clsNoltIO.h"

namespace {

QStringList values(const clsNoltIO &s)
{
    return {QString::number(s.SavePosition()),
            QString::number(s.X()),
            QString::number(s.Y()),
            QString::number(s.Width()),
            QString::number(s.Height()),
            QString::number(s.DateFormat()),
            QString::number(s.DelimiterFormat()),
            QString::number(s.ThreeCharMonth()),
            QString::number(s.MarginFontVBorder()),
            QString::number(s.MarginFontHBorder()),
            QString::number(s.MarginFrameHBorder()),
            QString::number(s.MarginFontVFrame()),
            QString::number(s.JpegQuality()),
            QString::number(s.JpegType()),
            s.LoadPath(),
            s.SavePath(),
            s.TemplatePath()};
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
    clsNoltIO settings(QStringLiteral("/opt/morvel"), 15.0, 15.0);
    if (!settings.OpenFile(path))
        FuzzSupport::fail("an existing file was not read", settings.errorString());
    const QStringList read = values(settings);
    if (!settings.SaveFile(path))
        FuzzSupport::fail("SaveFile failed", settings.errorString());
    clsNoltIO again(QStringLiteral("/elsewhere"), 12.0, 12.0);
    if (!again.OpenFile(path))
        FuzzSupport::fail("a saved file does not open", again.errorString());
    const QStringList reread = values(again);
    for (qsizetype i = 0; i < read.size(); ++i) {
        if (read[i] != reread[i])
            FuzzSupport::fail("saved settings read otherwise",
                              QStringLiteral("%1: %2 / %3").arg(i).arg(read[i], reread[i]));
    }
    return 0;
}
