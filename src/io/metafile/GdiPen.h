#pragma once

#include <QList>
#include <QRgb>

// A pen as a metafile creates it: style bits (line style, end cap, join, cosmetic or geometric)
// and width in logical units.
struct GdiPen
{
    quint32 style = 0; // PS_SOLID, round caps and joins
    double width = 0;  // 0 draws one device pixel wide
    QRgb color = qRgb(0, 0, 0);
    QList<double> userDashes; // PS_USERSTYLE lengths, in logical units
};
