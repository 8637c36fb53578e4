#pragma once

#include "PhotoOptions.h"

#include <QImage>
#include <QSize>
#include <QString>

class QFile;

// JPEG through libjpeg directly: the header alone for the size, the pixels straight into an RGB32
// image. The same library and settings as Qt's reader (accurate integer DCT, smooth chroma
// upsampling), so the pixels are the same; the colour spaces other than grey, YCbCr and RGB
// (CMYK, YCCK) are left to Qt's reader.
namespace JpegDecoder {

enum class Result
{
    Done,
    Failed,
    LeftToQt
};

// Qt's allocation limit for one read; a larger picture is left to Qt's reader, which refuses it.
constexpr qint64 MaxDecodedBytes = qint64(256) << 20;

// The smallest of libjpeg's scales N/8 that keeps the picture at least as large as target.
int scale(QSize natural, QSize target);

// Reads the header (*size is the natural size), and the pixels into *image when image is set,
// already reduced by the DCT scaling when the options shrink the picture. A file damaged
// part-way gives what could be read with *damaged set; a failure gives libjpeg's message in
// *reason.
Result read(QFile *file, QSize *size, QImage *image, QString *reason,
            const PhotoOptions &options = PhotoOptions(), bool *damaged = nullptr);

} // namespace JpegDecoder
