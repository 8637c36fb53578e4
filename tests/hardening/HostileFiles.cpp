#include "HostileFiles.h"

#include <QBuffer>

namespace {

// Little-endian numbers of 2 or 4 bytes, as GIF and BMP write them.
void le(QByteArray &b, std::initializer_list<qint64> values, int bytes)
{
    for (const qint64 v : values) {
        for (int i = 0; i < bytes; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    }
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
    QByteArray data((codes.size() * 3 + 7) / 8, '\0'); // the codes' bits, lowest first
    for (qsizetype bit = 0; bit < codes.size() * 3; ++bit)
        data[bit / 8] = char(data[bit / 8] | ((codes[bit / 3] >> (bit % 3) & 1) << (bit % 8)));
    QByteArray blocks; // of up to 255 bytes, each after its size
    for (qsizetype at = 0; at < data.size(); at += 255)
        blocks += char(std::min<qsizetype>(data.size() - at, 255)) + data.mid(at, 255);
    return blocks + '\0';
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
    le(b, {screen.width(), screen.height()}, 2);
    b.append("\x81\x00\x00", 3); // global table of 4 colours
    b.append("\xFF\xFF\xFF\x00\x00\x00\xC0\x20\x20\x20\x40\xC0", 12);
    if (frames > 1) // loops forever, as animations do
        b.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int f = 0; f < frames; ++f) {
        if (frames > 1) // graphic control: 10 ms per frame
            b.append("\x21\xF9\x04\x00\x01\x00\x00\x00", 8);
        b.append(char(0x2C));
        le(b, {0, 0, width, height}, 2);
        b.append(char(0));
        b.append(char(2)); // minimum code size
        b.append(lzwOneColour(width * height, f % 4));
    }
    b.append(char(0x3B));
    return b;
}

QByteArray bmpHeader(qint32 width, qint32 height, qint64 dataBytes)
{
    const qint64 offset = 14 + 40;
    QByteArray b("BM");
    // Sizes and offset, width and height; one plane of 24 bits, uncompressed, 96 dpi, no palette.
    le(b, {offset + dataBytes, 0, offset, 40, width, height}, 4);
    le(b, {1, 24}, 2);
    le(b, {0, 0, 3780, 3780, 0, 0}, 4);
    for (qint64 i = 0; i < dataBytes; ++i)
        b.append(char(i * 37));
    return b;
}

} // namespace HostileFiles
