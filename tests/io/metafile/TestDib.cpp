#include "TestDib.h"

#include <QList>
#include <QtEndian>

namespace TestDib {

// Bottom-up rows of 24-bit colours or 8-bit indexes into a table of the image's colours.
static QByteArray dib(const QImage &image, bool indexed)
{
    const int bitCount = indexed ? 8 : 24;
    const int stride = ((image.width() * bitCount + 31) / 32) * 4;
    QList<QRgb> colors;
    QByteArray bits;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            if (!indexed) {
                row.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
                continue;
            }
            if (!colors.contains(c))
                colors.append(c);
            row.append(char(colors.indexOf(c)));
        }
        bits += row.leftJustified(stride, '\0');
    }
    QByteArray table;
    for (QRgb c : colors)
        table.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    // BITMAPINFOHEADER, BI_RGB, 96 dpi; a positive height: bottom-up.
    QByteArray h(HeaderSize, '\0');
    const quint32 fields[] = {HeaderSize, quint32(image.width()), quint32(image.height())};
    for (int i = 0; i < 3; ++i)
        qToLittleEndian<quint32>(fields[i], h.data() + 4 * i);
    qToLittleEndian<quint16>(1, h.data() + 12);
    qToLittleEndian<quint16>(quint16(bitCount), h.data() + 14);
    qToLittleEndian<quint32>(quint32(bits.size()), h.data() + 20);
    qToLittleEndian<quint32>(3780, h.data() + 24);
    qToLittleEndian<quint32>(3780, h.data() + 28);
    qToLittleEndian<quint32>(quint32(colors.size()), h.data() + 32);
    return h + table + bits;
}

QByteArray rgb24(const QImage &image)
{
    return dib(image, false);
}

QByteArray indexed8(const QImage &image)
{
    return dib(image, true);
}

} // namespace TestDib
