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

PhotoOptions photoOptionsFromSettings(const AppSettings &settings)
{
    using Stretch = PhotoOptions::Stretch;
    const Stretch stretch = Stretch(settings.photoStretch());
    PhotoOptions options;
    options.stretch =
        stretch == Stretch::Linear || stretch == Stretch::None ? stretch : Stretch::Automatic;
    options.shrink = settings.shrinkLarge();
    options.box = PhotoOptions::boundedBox(settings.shrinkBox());
    return options;
}
