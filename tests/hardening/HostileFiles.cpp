#include "HostileFiles.h"

#include <QBuffer>

namespace {

void le16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void le32(QByteArray &b, qint64 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// The image data of one frame in one colour (index 0..3): 3-bit codes, a clear code every two
// pixels so that the code size never grows.
QByteArray lzwOneColour(int pixels, int colour)
{
    QList<int> codes;
    for (int i = 0; i < pixels; i += 2) {
        codes << 4 << colour;
        if (i + 1 < pixels)
            codes << colour;
    }
    codes << 5;
    QByteArray data;
    quint32 acc = 0;
    int bits = 0;
    for (int c : codes) {
        acc |= quint32(c) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        data.append(char(acc & 0xFF));
    QByteArray blocks;
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        blocks.append(char(block.size()));
        blocks.append(block);
    }
    blocks.append(char(0));
    return blocks;
}

} // namespace

namespace HostileFiles {

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((7 * x + 3 * y) & 0xFF, (5 * y + x) & 0xFF, (x * y) & 0xFF);
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QByteArray gif(int width, int height, int frames, QSize screen)
{
    if (screen.isEmpty())
        screen = QSize(width, height);
    QByteArray b("GIF89a");
    le16(b, screen.width());
    le16(b, screen.height());
    b.append("\x81\x00\x00", 3); // global table of 4 colours
    b.append("\xFF\xFF\xFF\x00\x00\x00\xC0\x20\x20\x20\x40\xC0", 12);
    if (frames > 1) // loops forever, as animations do
        b.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int f = 0; f < frames; ++f) {
        if (frames > 1) // graphic control: 10 ms per frame
            b.append("\x21\xF9\x04\x00\x01\x00\x00\x00", 8);
        b.append(char(0x2C));
        le16(b, 0);
        le16(b, 0);
        le16(b, width);
        le16(b, height);
        b.append(char(0));
        b.append(char(2)); // minimum code size
        b.append(lzwOneColour(width * height, f % 4));
    }
    b.append(char(0x3B));
    return b;
}

QByteArray bmpHeader(qint32 width, qint32 height, qint64 dataBytes, qint64 fileSizeField)
{
    const qint64 offset = 14 + 40;
    QByteArray b("BM");
    le32(b, fileSizeField >= 0 ? fileSizeField : offset + dataBytes);
    le32(b, 0);
    le32(b, offset);
    le32(b, 40);
    le32(b, width);
    le32(b, height);
    le16(b, 1);
    le16(b, 24);
    le32(b, 0);
    le32(b, 0);
    le32(b, 3780);
    le32(b, 3780);
    le32(b, 0);
    le32(b, 0);
    for (qint64 i = 0; i < dataBytes; ++i)
        b.append(char(i * 37));
    return b;
}

} // namespace HostileFiles
