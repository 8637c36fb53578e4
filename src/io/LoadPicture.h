#pragma once

#include "PhotoOptions.h"

#include <QImage>
#include <QSize>
#include <QString>

// Reading photo files: BMP, JPEG, GIF, TIFF, PNG and FITS by their contents (the extension does
// not matter), WMF and EMF through the metafile player. The pixel size comes from the header
// first, so a photo of a size the layout refuses is never decoded.
namespace LoadPicture {

enum class Format
{
    Unknown,
    Bmp,
    Jpeg,
    Gif,
    Wmf,
    Emf,
    Tiff,
    Png,
    Fits
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
    QImage image;   // Format_RGB32, natural size
    QString error;  // names the file
    QString notice; // set when a damaged file was read only in part; names the file
    bool ok() const { return error.isEmpty(); }
};

// The format by signature: "BM", FF D8 FF, "GIF87a"/"GIF89a", the placeable-WMF key or a
// WMF header, an EMF header record, "II*\0"/"MM\0*" (and their BigTIFF forms), the PNG
// signature, a first card "SIMPLE  =".
Format detectFormat(const QByteArray &head);

// Format and pixel size without decoding the pixels. BMP and PNG headers are read here (Qt's
// reader refuses BMPs over 16384 pixels as not a BMP), TIFF through Qt's plug-in, FITS through
// cfitsio.
Header readHeader(const QString &path);

// The size decode() gives a picture with this header: shrunk into the options' box when that is
// on (metafiles only up to the size they are drawn at), else the natural size.
QSize decodedSize(const Header &header, const PhotoOptions &options);

// Decodes the picture as Format_RGB32 (ARGB32_Premultiplied when it has transparent pixels) at
// decodedSize(): FITS data stretched as the options say, 16-bit channels rounded to 8 bits, a
// large photo shrunk by area averaging (a JPEG already decoded at a reduced scale first). A file
// that is damaged part-way (a JPEG or BMP cut short) gives what could be read, as image viewers
// show it, with a notice; the decoders' own messages do not reach the terminal.
Picture decode(const QString &path, const PhotoOptions &options = PhotoOptions());

} // namespace LoadPicture
