#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

struct PictureXmp;

// Writing the composed picture: exactly the canvas pixels, under exactly the given name, whole or
// not at all (the file on disk is unchanged when writing fails).
namespace SavePicture {

enum class Format
{
    Bmp,
    Png,
    Jpeg
};

// A 24-bit uncompressed Windows BMP (BITMAPINFOHEADER, bottom-up rows, 96 dpi) of the image.
QByteArray bmpBytes(const QImage &image);

// Writes the image as a BMP whatever the extension of path. False with *error naming the file.
bool writeBmp(const QImage &image, const QString &path, QString *error);

// BMP, PNG or JPEG (quality 0..100, used for JPEG only). With metadata, a PNG or JPEG also
// carries an sRGB colour profile and that XMP packet; a BMP never does (its bytes are the same).
bool write(const QImage &image, const QString &path, Format format, int jpegQuality, QString *error,
           const PictureXmp *metadata = nullptr);

// .png gives Png, .jpg and .jpeg give Jpeg (any letter case), anything else Bmp.
Format formatForPath(const QString &path);

} // namespace SavePicture
