#pragma once

#include "ComposeOutcome.h"

#include <QSize>

struct FrameDescription;
struct LayoutMargins;
class TextMeasurer;

// The geometry of the framed picture: checks the photo size, measures the five texts and sizes
// the canvas. A pure function of its inputs; sums are overflow-checked.
namespace FrameLayout {

constexpr qint32 MinPhotoWidth = 50;
constexpr qint32 MaxPhotoWidth = 1600;
constexpr qint32 MinPhotoHeight = 50;
constexpr qint32 MaxPhotoHeight = 1200;
constexpr qint32 MaxBorderWidth = 32767; // the canvas's line width is a 16-bit value
constexpr qint32 MaxCanvasSide = 32767;

bool photoSizeAccepted(qint32 width, qint32 height);

// Out-of-range photo size: LayoutRefused, nothing written. Otherwise writes measuredWidth and
// measuredHeight of all five items, then sets *canvasSize (outer size = drawable size) and returns
// Drawn; an overflow or a size the canvas refuses returns Failed with the measures already written.
ComposeOutcome layOut(FrameDescription &frame, const LayoutMargins &margins,
                      const TextMeasurer &measurer, QSize *canvasSize);

} // namespace FrameLayout
