#include "LayoutMargins.h"

#include "store/AppSettings.h"

LayoutMargins LayoutMargins::fromSettings(const AppSettings &settings)
{
    LayoutMargins m;
    m.marginFrameHBorder = settings.marginFrameHBorder();
    m.marginFontVBorder = settings.marginFontVBorder();
    m.marginFontHBorder = settings.marginFontHBorder();
    m.marginFontVFrame = settings.marginFontVFrame();
    return m;
}
