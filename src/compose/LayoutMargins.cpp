#include "LayoutMargins.h"

#include "store/clsNoltIO.h"

LayoutMargins LayoutMargins::fromSettings(const clsNoltIO &settings)
{
    LayoutMargins m;
    m.MarginFrameHBorder = settings.MarginFrameHBorder();
    m.MarginFontVBorder = settings.MarginFontVBorder();
    m.MarginFontHBorder = settings.MarginFontHBorder();
    m.MarginFontVFrame = settings.MarginFontVFrame();
    return m;
}
