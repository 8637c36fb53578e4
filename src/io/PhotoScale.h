#pragma once

#include <QImage>
#include <QSize>

// Shrinking a photo to the size it is shown at.
namespace PhotoScale {

// The image reduced to size by area averaging: each output pixel is the exact mean of the
// source area it covers, a source pixel covered in part weighing by the part covered, rounded to
// the nearest value. Never enlarges (a larger size is taken as the image's own). Grayscale8,
// RGB32 and ARGB32_Premultiplied keep their format; others become RGB32 or
// ARGB32_Premultiplied first. Null when the memory cannot be had.
QImage shrink(const QImage &image, QSize size);

} // namespace PhotoScale
