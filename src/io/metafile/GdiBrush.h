#pragma once

#include <QImage>
#include <QRgb>

// A brush as a metafile creates it: solid, hatched, hollow or a bitmap pattern.
struct GdiBrush
{
    quint32 style = 0; // BS_SOLID
    QRgb color = qRgb(255, 255, 255);
    quint32 hatch = 0;
    QImage pattern; // BS_DIBPATTERN and BS_PATTERN brushes
};
