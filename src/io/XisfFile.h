#pragma once

#include "PhotoOptions.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// XISF photos (version 1.0, monolithic files): the first image of the XML header, its pixels in a
// data block attached to the file, UInt8/16/32 or Float32/64 samples, Gray or RGB (planar or
// normal storage, either byte order), uncompressed or compressed with zlib, lz4, lz4hc or zstd,
// byte-shuffled or not. Rows top first. Everything is checked against the header and the file's
// size before memory is taken for the pixels.
namespace XisfFile {

struct Card
{
    QString name;   // upper case
    QByteArray raw; // the value as a FITS card writes it: strings quoted
};

struct Header
{
    QSize size;
    int channels = 0;
    QString sampleFormat; // as written: "UInt16", "Float32"...
    QString colorSpace;   // "Gray", "RGB"
    QString imageType;    // "Light", "Dark"... when given
    // The image's FITSKeyword elements, then the XISF properties (of the image and of the file)
    // that have a FITS key, as that key's card when no keyword gave it: OBJECT from
    // Observation:Object:Name, DATE-OBS from Observation:Time:Start, EXPTIME, FILTER, FOCALLEN (in
    // mm), ...; IMAGETYP from the image type.
    QList<Card> cards;
};

// The header alone: the image's size, format and cards, without touching the data. False with a
// reason when the header is damaged.
bool readHeader(const QString &path, Header *header, QString *reason);

// Width and height from the header, with every check read() makes before it reads the data
// (what is not read is refused here, naming it). False with a reason.
bool readSize(const QString &path, QSize *size, QString *reason);

// The image stretched for display as FitsImage::read gives it: Format_Grayscale8 for mono data,
// Format_RGB32 for colour. A picture of more than maxPixels pixels is refused before anything is
// allocated. Null with a reason on failure.
QImage read(const QString &path, PhotoOptions::Stretch stretch, qint64 maxPixels, QString *reason);

} // namespace XisfFile
