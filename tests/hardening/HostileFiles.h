#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Builds the pictures that the hardening tests feed the program, and that the fuzz
// targets start from: well-formed ones, and ones that lie about themselves.
namespace HostileFiles {

// A picture whose every pixel differs from its neighbours.
QImage gradient(int width, int height);

// The picture in a format Qt writes ("BMP", "JPEG"); quality only for JPEG.
QByteArray encoded(const QImage &image, const char *format, int quality = 75);

// A GIF of `frames` frames of width x height, each a one-colour picture of its own colour, with
// a logical screen of `screen` (width x height when empty). Qt writes no GIF.
QByteArray gif(int width, int height, int frames = 1, QSize screen = QSize());

// A 24-bit BMP whose headers say width x height, followed by dataBytes bytes of pixels.
QByteArray bmpHeader(qint32 width, qint32 height, qint64 dataBytes);

} // namespace HostileFiles
