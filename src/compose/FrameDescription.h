#pragma once

#include "TextItem.h"
#include "store/TemplateFile.h"

#include <array>

// Everything the composer draws: photo area, border, background and the five text items.
// One instance lives for the whole run, owned by the caller. The Preview conversion fills it
// (a field it cannot convert keeps its value), the layout writes the measured sizes, and placing
// a photo replaces photoWidth and photoHeight with the photo's own pixel size.
struct FrameDescription
{
    static constexpr int ItemCount = 5;

    qint32 photoWidth = 0; // pixels, the photo area inside the border
    qint32 photoHeight = 0;
    qint32 borderColor = 0; // 0x00BBGGRR
    qint32 backColor = 0;   // 0x00BBGGRR
    qint32 borderWidth = 1; // pixels; the main window starts with 1 before the panel is read
    std::array<TextItem, ItemCount> textItems;
    TemplateSky sky; // the overlay drawn on a solved photo; off by default
};
