#include "WmfWriter.h"

#include <QtEndian>

namespace {

void put16(QByteArray *out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out->append(b, 2);
}

void put32(QByteArray *out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out->append(b, 4);
}

QByteArray words(const QList<qint16> &values)
{
    QByteArray out;
    for (qint16 v : values)
        put16(&out, quint16(v));
    return out;
}

QByteArray colorWords(quint32 colorRef)
{
    QByteArray out;
    put32(&out, colorRef);
    return out;
}

QByteArray padded(const QByteArray &text)
{
    QByteArray out = text;
    if (out.size() % 2)
        out.append('\0');
    return out;
}

} // namespace

WmfWriter WmfWriter::placeable(const QRect &bounds, int unitsPerInch)
{
    WmfWriter writer;
    writer.m_placeable = true;
    writer.m_bounds = bounds;
    writer.m_unitsPerInch = unitsPerInch;
    return writer;
}

WmfWriter WmfWriter::plain()
{
    return WmfWriter();
}

void WmfWriter::record(quint16 function, const QList<qint16> &parameters)
{
    recordBytes(function, words(parameters));
}

void WmfWriter::recordBytes(quint16 function, const QByteArray &parameters)
{
    const QByteArray body = padded(parameters);
    const quint32 sizeWords = quint32(3 + body.size() / 2);
    put32(&m_body, sizeWords);
    put16(&m_body, function);
    m_body += body;
    m_largestRecord = std::max(m_largestRecord, sizeWords);
    ++m_records;
}

void WmfWriter::setWindowOrg(int x, int y)
{
    record(0x020B, {qint16(y), qint16(x)});
}
void WmfWriter::setWindowExt(int x, int y)
{
    record(0x020C, {qint16(y), qint16(x)});
}
void WmfWriter::setViewportOrg(int x, int y)
{
    record(0x020D, {qint16(y), qint16(x)});
}
void WmfWriter::setViewportExt(int x, int y)
{
    record(0x020E, {qint16(y), qint16(x)});
}
void WmfWriter::setMapMode(int mode)
{
    record(0x0103, {qint16(mode)});
}
void WmfWriter::saveDC()
{
    recordBytes(0x001E, QByteArray());
}
void WmfWriter::restoreDC(int which)
{
    record(0x0127, {qint16(which)});
}

void WmfWriter::createPen(int style, int width, quint32 colorRef)
{
    recordBytes(0x02FA, words({qint16(style), qint16(width), 0}) + colorWords(colorRef));
    ++m_objects;
}

void WmfWriter::createBrush(int style, quint32 colorRef, int hatch)
{
    recordBytes(0x02FC, words({qint16(style)}) + colorWords(colorRef) + words({qint16(hatch)}));
    ++m_objects;
}

void WmfWriter::createFont(int height, int weight, bool italic, bool underline, bool strikeOut,
                           int charSet, const QByteArray &face)
{
    QByteArray font = words({qint16(height), 0, 0, 0, qint16(weight)});
    font.append(char(italic)).append(char(underline)).append(char(strikeOut)).append(char(charSet));
    font.append(4, '\0'); // precisions, quality, pitch and family
    font.append(face.left(31)).append('\0');
    recordBytes(0x02FB, font);
    ++m_objects;
}

void WmfWriter::createRegionPlaceholder()
{
    // An empty region object: it takes a slot in the object table.
    recordBytes(0x06FF, words({0, 6, 0, 0, 22, 0, 0, 0, 0, 0, 0}));
    ++m_objects;
}

void WmfWriter::selectObject(int index)
{
    record(0x012D, {qint16(index)});
}
void WmfWriter::deleteObject(int index)
{
    record(0x01F0, {qint16(index)});
}
void WmfWriter::setTextColor(quint32 colorRef)
{
    recordBytes(0x0209, colorWords(colorRef));
}
void WmfWriter::setBkColor(quint32 colorRef)
{
    recordBytes(0x0201, colorWords(colorRef));
}
void WmfWriter::setBkMode(int mode)
{
    record(0x0102, {qint16(mode), 0});
}
void WmfWriter::setTextAlign(int align)
{
    record(0x012E, {qint16(align), 0});
}
void WmfWriter::setPolyFillMode(int mode)
{
    record(0x0106, {qint16(mode), 0});
}
void WmfWriter::moveTo(int x, int y)
{
    record(0x0214, {qint16(y), qint16(x)});
}
void WmfWriter::lineTo(int x, int y)
{
    record(0x0213, {qint16(y), qint16(x)});
}

void WmfWriter::rectangle(int left, int top, int right, int bottom)
{
    record(0x041B, {qint16(bottom), qint16(right), qint16(top), qint16(left)});
}

void WmfWriter::roundRect(int left, int top, int right, int bottom, int width, int height)
{
    record(0x061C, {qint16(height), qint16(width), qint16(bottom), qint16(right), qint16(top),
                    qint16(left)});
}

void WmfWriter::ellipse(int left, int top, int right, int bottom)
{
    record(0x0418, {qint16(bottom), qint16(right), qint16(top), qint16(left)});
}

void WmfWriter::arc(quint16 kind, const QRect &box, QPoint start, QPoint end)
{
    record(kind, {qint16(end.y()), qint16(end.x()), qint16(start.y()), qint16(start.x()),
                  qint16(box.bottom() + 1), qint16(box.right() + 1), qint16(box.top()),
                  qint16(box.left())});
}

void WmfWriter::polygon(const QList<QPoint> &points)
{
    QList<qint16> w{qint16(points.size())};
    for (QPoint p : points)
        w << qint16(p.x()) << qint16(p.y());
    record(0x0324, w);
}

void WmfWriter::polyline(const QList<QPoint> &points)
{
    QList<qint16> w{qint16(points.size())};
    for (QPoint p : points)
        w << qint16(p.x()) << qint16(p.y());
    record(0x0325, w);
}

void WmfWriter::polyPolygon(const QList<QList<QPoint>> &polygons)
{
    QList<qint16> w{qint16(polygons.size())};
    for (const QList<QPoint> &polygon : polygons)
        w << qint16(polygon.size());
    for (const QList<QPoint> &polygon : polygons)
        for (QPoint p : polygon)
            w << qint16(p.x()) << qint16(p.y());
    record(0x0538, w);
}

void WmfWriter::textOut(int x, int y, const QByteArray &text)
{
    recordBytes(0x0521,
                words({qint16(text.size())}) + padded(text) + words({qint16(y), qint16(x)}));
}

void WmfWriter::extTextOut(int x, int y, int options, const QRect *rect, const QByteArray &text,
                           const QList<qint16> &dx)
{
    QByteArray p = words({qint16(y), qint16(x), qint16(text.size()), qint16(options)});
    if (rect)
        p += words({qint16(rect->left()), qint16(rect->top()), qint16(rect->right() + 1),
                    qint16(rect->bottom() + 1)});
    p += padded(text) + words(dx);
    recordBytes(0x0A32, p);
}

void WmfWriter::intersectClipRect(int left, int top, int right, int bottom)
{
    record(0x0416, {qint16(bottom), qint16(right), qint16(top), qint16(left)});
}

void WmfWriter::excludeClipRect(int left, int top, int right, int bottom)
{
    record(0x0415, {qint16(bottom), qint16(right), qint16(top), qint16(left)});
}

void WmfWriter::stretchDib(const QRect &dest, const QRect &source, const QByteArray &dib)
{
    QByteArray p;
    put32(&p, 0x00CC0020); // SRCCOPY
    p += words({0, qint16(source.height()), qint16(source.width()), qint16(source.y()),
                qint16(source.x()), qint16(dest.height()), qint16(dest.width()), qint16(dest.y()),
                qint16(dest.x())});
    recordBytes(0x0F43, p + dib);
}

void WmfWriter::dibBitBlt(int x, int y, int width, int height, const QByteArray &dib)
{
    QByteArray p;
    put32(&p, 0x00CC0020);
    p += words({0, 0, qint16(height), qint16(width), qint16(y), qint16(x)});
    recordBytes(0x0940, p + dib);
}

QByteArray WmfWriter::finish() const
{
    QByteArray records = m_body;
    put32(&records, 3);
    put16(&records, 0x0000); // META_EOF

    QByteArray header;
    put16(&header, 1); // memory metafile
    put16(&header, 9); // header words
    put16(&header, 0x0300);
    put32(&header, quint32((18 + records.size()) / 2));
    put16(&header, quint16(m_objects));
    put32(&header, std::max<quint32>(m_largestRecord, 3));
    put16(&header, 0);

    QByteArray out;
    if (m_placeable) {
        QByteArray p;
        put32(&p, 0x9AC6CDD7);
        put16(&p, 0);
        put16(&p, quint16(m_bounds.left()));
        put16(&p, quint16(m_bounds.top()));
        put16(&p, quint16(m_bounds.left() + m_bounds.width()));
        put16(&p, quint16(m_bounds.top() + m_bounds.height()));
        put16(&p, quint16(m_unitsPerInch));
        put32(&p, 0);
        quint16 checksum = 0;
        for (int i = 0; i < 20; i += 2)
            checksum ^= qFromLittleEndian<quint16>(p.constData() + i);
        put16(&p, checksum);
        out += p;
    }
    return out + header + records;
}
