#pragma once

#include "ComposeOutcome.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>

struct FrameDescription;
struct LayoutMargins;

// Where drawFrame put things, for the photo placement and for tests.
struct DrawnFrame
{
    qint32 borderLeft = 0;
    qint32 borderTop = 0;
    QRect borderOuter; // the pixels the border covers, outer edge
    QRect photoArea;   // the inside of the border: W x H at (borderLeft + half, ...)
    std::array<QPoint, 5> textTopLeft{}; // top-left corner of each drawn text
    std::array<bool, 5> textDrawn{};     // empty footer items are not drawn
};

// Draws the header texts, the border and the footer texts on a canvas that the layout has sized
// and cleared (measured sizes in the frame description), with no antialiasing.
namespace FrameRenderer {

// half = roundHalfUp(borderWidth x 0.5): the border's lines are borderWidth wide, centred on the
// rectangle's edges, so that the inside starts at (borderLeft + half, borderTop + half).
qint32 halfBorder(qint32 borderWidth);

ComposeOutcome drawFrame(QImage &canvas, const FrameDescription &frame,
                         const LayoutMargins &margins, DrawnFrame *drawn);

// Paints the photo at its natural size with its top-left corner at topLeft.
void paintPhoto(QImage &canvas, const QImage &photo, QPoint topLeft);

} // namespace FrameRenderer
