#pragma once

#include "GdiBrush.h"
#include "GdiFont.h"
#include "GdiPen.h"

// One entry of a metafile's object table. Objects the player does not draw with (palettes,
// regions, colour spaces) still take their slot, so that later indexes stay right.
struct GdiObject
{
    enum class Kind
    {
        Empty,
        Pen,
        Brush,
        Font,
        Other
    };
    Kind kind = Kind::Empty;
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
};
