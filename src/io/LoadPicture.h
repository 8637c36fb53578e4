#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Reading photo files: BMP, JPEG and GIF by their contents (the extension does not matter), WMF
// and EMF through the metafile player. The pixel size comes from the header first, so a photo of
// a size the layout refuses is never decoded.
namespace LoadPicture {

enum class Format
{
    Unknown,
    Bmp,
    Jpeg,
    Gif,
    Wmf,
    Emf
};

struct Header
{
    Format format = Format::Unknown;
    QSize size;    // natural pixel size
    QString error; // set when the file cannot be read as a picture; names the file
    bool ok() const { return error.isEmpty(); }
};

struct Picture
{
    QImage image;  // Format_RGB32, natural size
    QString error; // names the file
    bool ok() const { return error.isEmpty(); }
};

// The format by signature: "BM", FF D8 FF, "GIF87a"/"GIF89a", the placeable-WMF key or a
// WMF header, an EMF header record.
Format detectFormat(const QByteArray &head);

// Format and pixel size without decoding the pixels. BMP headers are read here (Qt's reader
// refuses BMPs over 16384 pixels as not a BMP).
Header readHeader(const QString &path);

// Decodes the whole picture as Format_RGB32.
Picture decode(const QString &path);

} // namespace LoadPicture
