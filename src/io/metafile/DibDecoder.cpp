#include "DibDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <uemf.h>
#include <uwmf.h>

#include <cstdlib>
#include <limits>

namespace {

constexpr quint32 LargestHeaderSize = 124; // BITMAPV5HEADER
constexpr quint32 BiAlphaBitFields = 6;    // not named by libUEMF
constexpr int MaxSide = 65535;

struct Header
{
    quint32 size = 0;
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitCount = 0;
    quint32 compression = U_BI_RGB;
    quint32 colorsUsed = 0;
};

quint32 u32(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.data() + at);
}

quint16 u16(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.data() + at);
}

bool readHeader(QByteArrayView info, Header *h)
{
    if (info.size() < 4)
        return false;
    h->size = u32(info, 0);
    if (h->size == U_SIZE_BITMAPCOREHEADER) {
        if (info.size() < U_SIZE_BITMAPCOREHEADER)
            return false;
        h->width = u16(info, 4);
        h->height = u16(info, 6);
        h->bitCount = u16(info, 10);
        return true;
    }
    if (h->size < U_SIZE_BITMAPINFOHEADER || h->size > LargestHeaderSize || info.size() < h->size)
        return false;
    h->width = qint32(u32(info, 4));
    h->height = qint32(u32(info, 8));
    h->bitCount = u16(info, 14);
    h->compression = u32(info, 16);
    h->colorsUsed = u32(info, 32);
    return true;
}

bool sane(const Header &h)
{
    const qint64 height = std::llabs(h.height);
    if (h.width < 1 || h.width > MaxSide || height < 1 || height > MaxSide ||
        h.width * height > DibDecoder::MaxPixels)
        return false;
    switch (h.compression) {
    case U_BI_RGB:
        return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
               h.bitCount == 24 || h.bitCount == 32;
    case U_BI_RLE8:
        return h.bitCount == 8 && h.height > 0;
    case U_BI_RLE4:
        return h.bitCount == 4 && h.height > 0;
    case U_BI_BITFIELDS:
    case BiAlphaBitFields:
        return h.bitCount == 16 || h.bitCount == 32;
    case U_BI_JPEG:
    case U_BI_PNG:
        return h.height > 0;
    default:
        return false;
    }
}

QImage decodeCompressed(QByteArrayView bits, const char *format)
{
    QByteArray bytes(bits.data(), bits.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > DibDecoder::MaxPixels)
        return {};
    return reader.read();
}

} // namespace

namespace DibDecoder {

qsizetype infoSize(QByteArrayView info, quint32 usage)
{
    Header h;
    if (!readHeader(info, &h) || !sane(h))
        return 0;
    qint64 size = h.size;
    if (h.size == U_SIZE_BITMAPINFOHEADER && h.compression == U_BI_BITFIELDS)
        size += 12;
    else if (h.size == U_SIZE_BITMAPINFOHEADER && h.compression == BiAlphaBitFields)
        size += 16;
    qint64 colors = h.colorsUsed;
    if (h.bitCount >= 1 && h.bitCount <= 8) {
        const qint64 most = qint64(1) << h.bitCount;
        if (colors == 0)
            colors = most;
        if (colors > most)
            return 0;
        // Colour tables of palette indexes need the palette of the playing device.
        if (usage != U_DIB_RGB_COLORS)
            return 0;
    } else if (colors > 256) {
        return 0;
    }
    size += colors * (h.size == U_SIZE_BITMAPCOREHEADER ? 3 : 4);
    return size <= info.size() ? qsizetype(size) : 0;
}

bool dimensions(QByteArrayView info, int *width, int *height)
{
    Header h;
    if (!readHeader(info, &h) || !sane(h))
        return false;
    *width = int(h.width);
    *height = int(h.height);
    return true;
}

QImage decode(QByteArrayView info, QByteArrayView bits, quint32 usage)
{
    const qsizetype headerBytes = infoSize(info, usage);
    if (headerBytes == 0)
        return {};
    Header h;
    readHeader(info, &h);

    QImage image;
    if (h.compression == U_BI_JPEG) {
        image = decodeCompressed(bits, "JPEG");
    } else if (h.compression == U_BI_PNG) {
        image = decodeCompressed(bits, "PNG");
    } else {
        if (h.compression == U_BI_RGB || h.compression == U_BI_BITFIELDS ||
            h.compression == BiAlphaBitFields) {
            const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
            const qint64 needed = stride * std::llabs(h.height);
            if (bits.size() < needed)
                return {};
            bits = bits.first(qsizetype(needed));
        }
        // Qt reads the bitmap once it has a file header in front.
        QByteArray file;
        const qint64 total = 14 + headerBytes + bits.size();
        if (total > std::numeric_limits<qint32>::max())
            return {};
        file.reserve(qsizetype(total));
        file.append("BM", 2);
        char field[4];
        qToLittleEndian<quint32>(quint32(total), field);
        file.append(field, 4);
        file.append(4, '\0');
        qToLittleEndian<quint32>(quint32(14 + headerBytes), field);
        file.append(field, 4);
        file.append(info.data(), headerBytes);
        file.append(bits.data(), bits.size());
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "BMP");
        image = reader.read();
    }
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage decodePacked(QByteArrayView dib, quint32 usage)
{
    const qsizetype headerBytes = infoSize(dib, usage);
    if (headerBytes == 0)
        return {};
    return decode(dib.first(headerBytes), dib.sliced(headerBytes), usage);
}

} // namespace DibDecoder
