#include "EmfWriter.h"

#include "TestDib.h"

#include <QtEndian>

#include <cstring>

namespace {

void put32(QByteArray *out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out->append(b, 4);
}

void putFloat(QByteArray *out, float f)
{
    quint32 v;
    std::memcpy(&v, &f, 4);
    put32(out, v);
}

QByteArray rect(const QRect &r)
{
    // RECTL: left, top, right, bottom as the drawing functions take them (right and bottom
    // outside the box).
    return EmfWriter::ints({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

// The reference device: 1920 x 1080 pixels at exactly 96 dpi.
constexpr int DevicePixelsX = 1920, DevicePixelsY = 1080;
constexpr int DeviceMicrometersX = 508000, DeviceMicrometersY = 285750;

} // namespace

EmfWriter::EmfWriter(QSize pixels)
    : m_bounds(QPoint(0, 0), pixels),
      m_frame(QPoint(0, 0), QPoint(pixels.width() * 2540 / 96, pixels.height() * 2540 / 96))
{}

EmfWriter EmfWriter::withFrame(const QRect &frame)
{
    EmfWriter writer(QSize(1, 1));
    writer.m_frame = frame;
    return writer;
}

QByteArray EmfWriter::ints(const QList<qint32> &values)
{
    QByteArray out;
    for (qint32 v : values)
        put32(&out, quint32(v));
    return out;
}

void EmfWriter::record(quint32 type, const QByteArray &payload)
{
    QByteArray body = payload;
    while (body.size() % 4)
        body.append('\0');
    put32(&m_body, type);
    put32(&m_body, quint32(8 + body.size()));
    m_body += body;
    ++m_records;
}

void EmfWriter::setMapMode(int mode)
{
    record(17, ints({mode}));
}
void EmfWriter::setWindowOrg(int x, int y)
{
    record(10, ints({x, y}));
}
void EmfWriter::setWindowExt(int x, int y)
{
    record(9, ints({x, y}));
}
void EmfWriter::setViewportOrg(int x, int y)
{
    record(12, ints({x, y}));
}
void EmfWriter::setViewportExt(int x, int y)
{
    record(11, ints({x, y}));
}
void EmfWriter::saveDC()
{
    record(33, {});
}
void EmfWriter::restoreDC(int which)
{
    record(34, ints({which}));
}

void EmfWriter::setWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy)
{
    QByteArray p;
    for (float f : {m11, m12, m21, m22, dx, dy})
        putFloat(&p, f);
    record(35, p);
}

void EmfWriter::modifyWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy,
                                     int mode)
{
    QByteArray p;
    for (float f : {m11, m12, m21, m22, dx, dy})
        putFloat(&p, f);
    put32(&p, quint32(mode));
    record(36, p);
}

void EmfWriter::createPen(int handle, int style, int width, quint32 colorRef)
{
    record(38, ints({handle, style, width, 0, qint32(colorRef)}));
    m_handles = std::max(m_handles, handle + 1);
}

void EmfWriter::createBrush(int handle, int style, quint32 colorRef, int hatch)
{
    record(39, ints({handle, style, qint32(colorRef), hatch}));
    m_handles = std::max(m_handles, handle + 1);
}

void EmfWriter::createFont(int handle, int height, int weight, bool italic, bool underline,
                           bool strikeOut, int charSet, const QString &face)
{
    QByteArray p = ints({handle, height, 0, 0, 0, weight});
    p.append(char(italic)).append(char(underline)).append(char(strikeOut)).append(char(charSet));
    p.append(4, '\0');
    QByteArray name(64, '\0');
    for (int i = 0; i < std::min<qsizetype>(face.size(), 31); ++i)
        qToLittleEndian<quint16>(face.at(i).unicode(), name.data() + 2 * i);
    p += name;
    // The rest of LOGFONT_PANOSE: full name, style, version, style size, match, reserved,
    // vendor id, culture, PANOSE and padding.
    p.append(320 - 92, '\0');
    record(82, p);
    m_handles = std::max(m_handles, handle + 1);
}

void EmfWriter::selectObject(quint32 handle)
{
    record(37, ints({qint32(handle)}));
}
void EmfWriter::deleteObject(int handle)
{
    record(40, ints({handle}));
}
void EmfWriter::setTextColor(quint32 colorRef)
{
    record(24, ints({qint32(colorRef)}));
}
void EmfWriter::setBkColor(quint32 colorRef)
{
    record(25, ints({qint32(colorRef)}));
}
void EmfWriter::setBkMode(int mode)
{
    record(18, ints({mode}));
}
void EmfWriter::setTextAlign(int align)
{
    record(22, ints({align}));
}
void EmfWriter::setPolyFillMode(int mode)
{
    record(19, ints({mode}));
}
void EmfWriter::moveTo(int x, int y)
{
    record(27, ints({x, y}));
}
void EmfWriter::lineTo(int x, int y)
{
    record(54, ints({x, y}));
}
void EmfWriter::rectangle(const QRect &box)
{
    record(43, rect(box));
}
void EmfWriter::ellipse(const QRect &box)
{
    record(42, rect(box));
}

void EmfWriter::roundRect(const QRect &box, int width, int height)
{
    record(44, rect(box) + ints({width, height}));
}

void EmfWriter::arc(quint32 type, const QRect &box, QPoint start, QPoint end)
{
    record(type, rect(box) + ints({start.x(), start.y(), end.x(), end.y()}));
}

void EmfWriter::poly(quint32 type, const QList<QPoint> &points)
{
    QByteArray p = rect(m_bounds);
    put32(&p, quint32(points.size()));
    const bool small = type >= 85;
    for (QPoint pt : points) {
        if (small) {
            char b[4];
            qToLittleEndian<qint16>(qint16(pt.x()), b);
            qToLittleEndian<qint16>(qint16(pt.y()), b + 2);
            p.append(b, 4);
        } else {
            p += ints({pt.x(), pt.y()});
        }
    }
    record(type, p);
}

void EmfWriter::polyPolygon(const QList<QList<QPoint>> &polygons)
{
    QByteArray p = rect(m_bounds);
    qint32 total = 0;
    for (const QList<QPoint> &polygon : polygons)
        total += qint32(polygon.size());
    p += ints({qint32(polygons.size()), total});
    for (const QList<QPoint> &polygon : polygons)
        put32(&p, quint32(polygon.size()));
    for (const QList<QPoint> &polygon : polygons)
        for (QPoint pt : polygon)
            p += ints({pt.x(), pt.y()});
    record(8, p);
}

void EmfWriter::extTextOutW(int x, int y, int options, const QRect &box, const QString &text,
                            const QList<qint32> &dx)
{
    // Bounds, graphics mode, scales, then EMRTEXT (reference, count, string offset, options,
    // rectangle, dx offset); string and dx follow at offsets from the record start.
    const qint32 stringOffset = 76;
    qint32 stringBytes = qint32(text.size() * 2);
    stringBytes += stringBytes % 4;
    const qint32 dxOffset = dx.isEmpty() ? 0 : stringOffset + stringBytes;
    QByteArray p = rect(m_bounds) + ints({1}); // GM_COMPATIBLE
    putFloat(&p, 0);
    putFloat(&p, 0);
    p += ints({x, y, qint32(text.size()), stringOffset, options});
    p += rect(box);
    p += ints({dxOffset});
    QByteArray string(stringBytes, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), string.data() + 2 * i);
    p += string + ints(dx);
    record(84, p);
}

void EmfWriter::intersectClipRect(const QRect &box)
{
    record(30, rect(box));
}
void EmfWriter::resetClip()
{
    record(75, ints({0, 5}));
} // RGN_COPY with no region
void EmfWriter::beginPath()
{
    record(59, {});
}
void EmfWriter::endPath()
{
    record(60, {});
}
void EmfWriter::fillPath()
{
    record(62, rect(m_bounds));
}

void EmfWriter::stretchDIBits(const QRect &dest, const QRect &source, const QByteArray &dib)
{
    // Bounds, Dest, Src, cSrc, offBmi, cbBmi, offBits, cbBits, usage, rop, cDest; then the
    // bitmap header and bits.
    const qint32 headerAt = 80;
    const qint32 bitsAt = headerAt + TestDib::HeaderSize;
    const qint32 bitsSize = qint32(dib.size()) - TestDib::HeaderSize;
    QByteArray p = rect(dest);
    p += ints({dest.x(), dest.y(), source.x(), source.y(), source.width(), source.height(),
               headerAt, TestDib::HeaderSize, bitsAt, bitsSize, 0, qint32(0x00CC0020), dest.width(),
               dest.height()});
    record(81, p + dib);
}

void EmfWriter::bitBlt(const QRect &dest, QPoint source, const QByteArray &dib)
{
    // Bounds, Dest, cDest, rop, Src, xformSrc, bkColor, usage, offBmi, cbBmi, offBits, cbBits.
    const qint32 headerAt = 100;
    const qint32 bitsAt = headerAt + TestDib::HeaderSize;
    QByteArray p = rect(dest);
    p += ints({dest.x(), dest.y(), dest.width(), dest.height(), qint32(0x00CC0020), source.x(),
               source.y()});
    for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
        putFloat(&p, f);
    p += ints(
        {0, 0, headerAt, TestDib::HeaderSize, bitsAt, qint32(dib.size()) - TestDib::HeaderSize});
    record(76, p + dib);
}

QByteArray EmfWriter::finish() const
{
    QByteArray eof = ints({14, 20, 0, 16, 20});
    const int headerSize = 108;
    const quint32 total = quint32(headerSize + m_body.size() + eof.size());

    QByteArray h = ints({1, headerSize});
    h += ints({m_bounds.left(), m_bounds.top(), m_bounds.right(), m_bounds.bottom()});
    h += ints({m_frame.left(), m_frame.top(), m_frame.right(), m_frame.bottom()});
    h += ints({0x464D4520, 0x10000, qint32(total), m_records + 1});
    h += ints({m_handles}); // nHandles (16 bits) and sReserved
    h += ints({0, 0, 0});   // description, palette
    h += ints({DevicePixelsX, DevicePixelsY, DeviceMicrometersX / 1000, DeviceMicrometersY / 1000});
    h += ints({0, 0, 0, DeviceMicrometersX, DeviceMicrometersY});
    return h + m_body + eof;
}
