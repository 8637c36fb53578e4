#include "WmfWriter.h"

#include <QtEndian>

WmfWriter WmfWriter::placeable(const QRect &bounds, int unitsPerInch)
{
    WmfWriter writer;
    writer.m_placeable = true;
    writer.m_bounds = bounds;
    writer.m_unitsPerInch = unitsPerInch;
    return writer;
}

QByteArray WmfWriter::of(const QList<int> &words)
{
    QByteArray out(words.size() * 2, '\0');
    for (qsizetype i = 0; i < words.size(); ++i)
        qToLittleEndian<quint16>(quint16(words[i]), out.data() + 2 * i);
    return out;
}

QList<int> WmfWriter::xy(const QList<QPoint> &points)
{
    QList<int> out;
    for (QPoint p : points)
        out << p.x() << p.y();
    return out;
}

void WmfWriter::recordBytes(quint16 function, const QByteArray &parameters)
{
    const QByteArray body = padded(parameters);
    const quint32 size = quint32(3 + body.size() / 2);
    m_body += of({int(size & 0xFFFF), int(size >> 16), function}) + body;
    m_largestRecord = std::max(m_largestRecord, size);
}

int WmfWriter::createFont(int height, int weight, bool italic, bool underline, bool strikeOut,
                          int charSet, const QByteArray &face)
{
    QByteArray font = of({height, 0, 0, 0, weight});
    font.append(char(italic)).append(char(underline)).append(char(strikeOut)).append(char(charSet));
    font.append(4, '\0'); // precisions, quality, pitch and family
    return object(0x02FB, font + face.left(31) + '\0');
}

void WmfWriter::polyPolygon(const QList<QList<QPoint>> &polygons)
{
    QList<int> counts{int(polygons.size())}, points;
    for (const QList<QPoint> &polygon : polygons) {
        counts << int(polygon.size());
        points << xy(polygon);
    }
    record(0x0538, counts + points);
}

void WmfWriter::extTextOut(int x, int y, int options, const QRect *rect, const QByteArray &text,
                           const QList<int> &dx)
{
    QByteArray p = of({y, x, int(text.size()), options});
    if (rect)
        p += of({rect->left(), rect->top(), rect->right() + 1, rect->bottom() + 1});
    recordBytes(0x0A32, p + padded(text) + of(dx));
}

void WmfWriter::stretchDib(const QRect &dest, const QRect &source, const QByteArray &dib)
{
    recordBytes(0x0F43, of({0x0020, 0x00CC, 0, source.height(), source.width(), source.y(),
                            source.x(), dest.height(), dest.width(), dest.y(), dest.x()}) +
                            dib); // SRCCOPY
}

void WmfWriter::dibBitBlt(int x, int y, int width, int height, const QByteArray &dib)
{
    recordBytes(0x0940, of({0x0020, 0x00CC, 0, 0, height, width, y, x}) + dib);
}

QByteArray WmfWriter::finish() const
{
    const QByteArray records = m_body + of({3, 0, 0}); // META_EOF
    const int words = (18 + int(records.size())) / 2;
    const QByteArray header = of({1, 9, 0x0300, words & 0xFFFF, words >> 16, m_objects,
                                  int(m_largestRecord & 0xFFFF), int(m_largestRecord >> 16), 0});
    if (!m_placeable)
        return header + records;
    const QRect &b = m_bounds;
    QList<int> p = {
        0xCDD7,         0x9AC6, 0, b.left(), b.top(), b.left() + b.width(), b.top() + b.height(),
        m_unitsPerInch, 0,      0};
    int checksum = 0;
    for (int w : p)
        checksum ^= w & 0xFFFF;
    return of(p << checksum) + header + records;
}
