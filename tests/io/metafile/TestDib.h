#pragma once

#include <QByteArray>
#include <QImage>

// Packed device-independent bitmaps for the metafile writers: a BITMAPINFOHEADER and the pixels.
namespace TestDib {

inline constexpr int HeaderSize = 40;

// A 24-bit bottom-up bitmap of the image's pixels.
QByteArray rgb24(const QImage &image);

// An 8-bit bottom-up bitmap with a colour table of the image's colours (at most 256).
QByteArray indexed8(const QImage &image);

} // namespace TestDib
