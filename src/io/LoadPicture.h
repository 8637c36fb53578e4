#pragma once

#include "PhotoOptions.h"
#include "PictureHeader.h"

#include <QImage>
#include <QSize>
#include <QString>

// Reading photo files: BMP, JPEG, GIF, TIFF, PNG, FITS and XISF by their contents (the extension
// does not matter), WMF and EMF through the metafile player. The pixel size comes from the header
// first (PictureHeader.h), so a photo of a size the layout refuses is never decoded.
namespace LoadPicture {

struct Picture
{
    QImage image;   // Format_RGB32, natural size
    QString error;  // names the file
    QString notice; // set when a damaged file was read only in part; names the file
    bool ok() const { return error.isEmpty(); }
};

// The size decode() gives a picture with this header: shrunk into the options' box when that is
// on (metafiles only up to the size they are drawn at), else the natural size.
QSize decodedSize(const Header &header, const PhotoOptions &options);

// Decodes the picture as Format_RGB32 (ARGB32_Premultiplied when it has transparent pixels) at
// decodedSize(): FITS and XISF data stretched as the options say, 16-bit channels rounded to 8
// bits, a large photo shrunk by area averaging (a JPEG already decoded at a reduced scale first). A
// file that is damaged part-way (a JPEG or BMP cut short) gives what could be read, as image
// viewers show it, with a notice; the decoders' own messages do not reach the terminal.
Picture decode(const QString &path, const PhotoOptions &options = PhotoOptions());

} // namespace LoadPicture
