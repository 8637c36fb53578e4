#include "TestDib.h"

#include <QList>
#include <QtEndian>

namespace {

void put32(QByteArray *out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out->append(b, 4);
}

void put16(QByteArray *out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out->append(b, 2);
}

QByteArray infoHeader(const QImage &image, int bitCount, quint32 colors, quint32 imageBytes)
{
    QByteArray h;
    put32(&h, TestDib::HeaderSize);
    put32(&h, quint32(image.width()));
    put32(&h, quint32(image.height())); // positive: bottom-up
    put16(&h, 1);
    put16(&h, quint16(bitCount));
    put32(&h, 0); // BI_RGB
    put32(&h, imageBytes);
    put32(&h, 3780);
    put32(&h, 3780);
    put32(&h, colors);
    put32(&h, 0);
    return h;
}

} // namespace

namespace TestDib {

QByteArray rgb24(const QImage &image)
{
    const int stride = ((image.width() * 24 + 31) / 32) * 4;
    QByteArray bits;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            row.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        }
        row.append(stride - row.size(), '\0');
        bits += row;
    }
    return infoHeader(image, 24, 0, quint32(bits.size())) + bits;
}

QByteArray indexed8(const QImage &image)
{
    QList<QRgb> colors;
    const int stride = ((image.width() * 8 + 31) / 32) * 4;
    QByteArray bits;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            qsizetype index = colors.indexOf(c);
            if (index < 0) {
                colors.append(c);
                index = colors.size() - 1;
            }
            row.append(char(index));
        }
        row.append(stride - row.size(), '\0');
        bits += row;
    }
    QByteArray table;
    for (QRgb c : colors)
        table.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    return infoHeader(image, 8, quint32(colors.size()), quint32(bits.size())) + table + bits;
}

} // namespace TestDib
