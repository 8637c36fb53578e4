#pragma once

#include "JpegDecoder.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// The header reader: a photo's format by its contents (the extension does not matter) and its
// pixel size from its header, without decoding the pixels. LoadPicture.h adds the decoding.
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
    Fits,
    Xisf
};

struct Header
{
    Format format = Format::Unknown;
    QSize size;    // natural pixel size
    QString error; // set when the file cannot be read as a picture; names the file
    bool ok() const { return error.isEmpty(); }
};

// The format by signature: "BM", FF D8 FF, "GIF87a"/"GIF89a", the placeable-WMF key or a
// WMF header, an EMF header record, "II*\0"/"MM\0*" (and their BigTIFF forms), the PNG
// signature, a first card "SIMPLE  =", "XISF0100".
Format detectFormat(const QByteArray &head);

// Format and pixel size without decoding the pixels. BMP and PNG headers are read here (Qt's
// reader refuses BMPs over 16384 pixels as not a BMP), TIFF through Qt's plug-in, FITS through
// cfitsio, XISF from its XML header.
Header readHeader(const QString &path);

} // namespace LoadPicture

// What the decoding reads the same way as the header reader. Every message names the file.
namespace PictureHeader {

// The first bytes of the file and its format; false with the reason when it is missing, not a
// file, unreadable or of no format known.
bool readHead(const QString &path, QByteArray *head, LoadPicture::Format *format, QString *error);
// A GIF's natural size is its logical screen, from bytes 6 to 9; frames are drawn inside it.
bool gifScreenSize(const QByteArray &head, QSize *size);
// True when an uncompressed BMP's pixel rows run past the end of the file: Qt's reader then
// gives the rows that are there and leaves the rest black, without a word.
bool bmpCutShort(const QByteArray &head, qint64 fileSize);
// The name of Qt's reader for the format; none for those read here.
const char *qtFormat(LoadPicture::Format format);
bool isMetafile(LoadPicture::Format format);
// A metafile's bytes and natural size.
bool readMetafile(const QString &path, QByteArray *data, QSize *size, QString *error);
// The JPEG decoder on the file at path.
JpegDecoder::Result readJpeg(const QString &path, QSize *size, QImage *image, QString *error,
                             const PhotoOptions &options = PhotoOptions(), bool *damaged = nullptr);
// "The file cannot be read: reason".
QString cannotRead(const QString &path, const QString &reason);

} // namespace PictureHeader
