#pragma once

#include <QByteArrayView>
#include <QImage>

// Device-independent bitmaps inside metafile records (BITMAPCOREHEADER, BITMAPINFOHEADER and
// its later versions; uncompressed, bit fields, RLE, JPEG and PNG). Every size is checked
// against the bytes present before anything is decoded.
namespace DibDecoder {

// The largest bitmap decoded, in pixels (about 100 MB as 32-bit pixels).
inline constexpr qint64 MaxPixels = 25'000'000;

// The size of the BITMAPINFO (header, bit masks, colour table) at the start of info, or 0 when
// the header is damaged or of a kind not drawn.
qsizetype infoSize(QByteArrayView info, quint32 usage);

// Decodes a bitmap from its BITMAPINFO and its pixel bytes; a null image when either is damaged.
// usage is DIB_RGB_COLORS (0) or DIB_PAL_COLORS (1).
QImage decode(QByteArrayView info, QByteArrayView bits, quint32 usage);

// The same for a packed bitmap: BITMAPINFO directly followed by the pixels.
QImage decodePacked(QByteArrayView dib, quint32 usage);

// Width and height as the header gives them (height negative for top-down bitmaps).
bool dimensions(QByteArrayView info, int *width, int *height);

} // namespace DibDecoder
