#pragma once

#include "TextItem.h"

#include <array>

// Everything the composer draws: photo area, border, background and the five text items.
// One instance lives for the whole run, owned by the caller. The Preview conversion fills it
// (a field it cannot convert keeps its value), the layout writes the measured sizes, and placing
// a photo replaces PhotoWidth and PhotoHeight with the photo's own pixel size.
struct FrameDescription
{
    static constexpr int ItemCount = 5;

    qint32 PhotoWidth = 0; // pixels, the photo area inside the border
    qint32 PhotoHeight = 0;
    qint32 BorderColor = 0; // 0x00BBGGRR
    qint32 BackColor = 0;   // 0x00BBGGRR
    qint32 BorderWidth = 1; // pixels; the main window starts with 1 before the panel is read
    std::array<TextItem, ItemCount> TextItems;
};
