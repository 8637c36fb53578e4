#pragma once

#include <QImage>

// Large images (the canvas, a decoded photo) in memory the system may back with large pages:
// a picture of 1600 x 1200 takes some 2000 page faults in ordinary 4 KB pages, which cost more
// than drawing it. Where large pages are not available the memory is ordinary.
namespace ImageMemory {

// An image of the size and format with uninitialised pixels, laid out as QImage lays it out
// itself (rows 32-bit aligned). Null when the memory cannot be had.
QImage allocate(int width, int height, QImage::Format format);

} // namespace ImageMemory
