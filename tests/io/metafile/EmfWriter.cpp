#include "EmfWriter.h"

#include "TestDib.h"

#include <QtEndian>

#include <cstring>

QByteArray EmfWriter::ints(const QList<qint32> &values)
{
    QByteArray out(values.size() * 4, '\0');
    for (qsizetype i = 0; i < values.size(); ++i)
        qToLittleEndian<qint32>(values[i], out.data() + 4 * i);
    return out;
}

QByteArray EmfWriter::floats(const QList<float> &values)
{
    QList<qint32> bits;
    for (float f : values)
        std::memcpy(&bits.emplace_back(), &f, 4);
    return ints(bits);
}

void EmfWriter::record(quint32 type, const QByteArray &payload)
{
    QByteArray body = payload;
    body.append((4 - body.size() % 4) % 4, '\0');
    m_body += ints({qint32(type), qint32(8 + body.size())}) + body;
    ++m_records;
}

int EmfWriter::createFont(int height, int weight, bool italic, bool underline, bool strikeOut,
                          int charSet, const QString &face)
{
    QByteArray p = ints({m_handles, height, 0, 0, 0, weight});
    p.append(char(italic)).append(char(underline)).append(char(strikeOut)).append(char(charSet));
    p.append(4, '\0');
    QByteArray name(64, '\0');
    for (int i = 0; i < std::min<qsizetype>(face.size(), 31); ++i)
        qToLittleEndian<quint16>(face.at(i).unicode(), name.data() + 2 * i);
    // The rest of LOGFONT_PANOSE: full name, style, version, style size, match, reserved,
    // vendor id, culture, PANOSE and padding.
    record(82, p + name + QByteArray(320 - 92, '\0'));
    return m_handles++;
}

void EmfWriter::poly(quint32 type, const QList<QPoint> &points)
{
    QByteArray p = rect(m_bounds) + ints({qint32(points.size())});
    for (QPoint pt : points) {
        if (type >= 85) {
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
    QList<qint32> counts, points;
    for (const QList<QPoint> &polygon : polygons) {
        counts << qint32(polygon.size());
        for (QPoint pt : polygon)
            points << pt.x() << pt.y();
    }
    record(8, rect(m_bounds) + ints({qint32(polygons.size()), qint32(points.size() / 2)}) +
                  ints(counts) + ints(points));
}

void EmfWriter::extTextOutW(int x, int y, const QString &text, const QList<qint32> &dx)
{
    // Bounds, graphics mode, scales, then EMRTEXT (reference, count, string offset, options,
    // rectangle, dx offset); string and dx follow at offsets from the record start.
    const qint32 stringOffset = 76;
    const qint32 stringBytes = qint32((text.size() * 2 + 3) / 4 * 4);
    QByteArray string(stringBytes, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), string.data() + 2 * i);
    record(84, rect(m_bounds) + ints({1, 0, 0, x, y, qint32(text.size()), stringOffset, 0}) +
                   rect(QRect()) + ints({dx.isEmpty() ? 0 : stringOffset + stringBytes}) + string +
                   ints(dx));
}

void EmfWriter::stretchDIBits(const QRect &dest, const QRect &source, const QByteArray &dib)
{
    // Bounds, Dest, Src, cSrc, offBmi, cbBmi, offBits, cbBits, usage, rop, cDest; then the
    // bitmap header and bits.
    const qint32 header = TestDib::HeaderSize, bits = qint32(dib.size()) - header;
    record(81, rect(dest) +
                   ints({dest.x(), dest.y(), source.x(), source.y(), source.width(),
                         source.height(), 80, header, 80 + header, bits, 0, qint32(0x00CC0020),
                         dest.width(), dest.height()}) +
                   dib);
}

void EmfWriter::bitBlt(const QRect &dest, QPoint source, const QByteArray &dib)
{
    // Bounds, Dest, cDest, rop, Src, xformSrc, bkColor, usage, offBmi, cbBmi, offBits, cbBits.
    const qint32 header = TestDib::HeaderSize, bits = qint32(dib.size()) - header;
    record(76, rect(dest) +
                   ints({dest.x(), dest.y(), dest.width(), dest.height(), qint32(0x00CC0020),
                         source.x(), source.y()}) +
                   floats({1, 0, 0, 1, 0, 0}) + ints({0, 0, 100, header, 100 + header, bits}) +
                   dib);
}

QByteArray EmfWriter::finish() const
{
    // The reference device: 1920 x 1080 pixels at exactly 96 dpi.
    const int deviceX = 508000, deviceY = 285750; // micrometres
    const QByteArray eof = ints({14, 20, 0, 16, 20});
    const int headerSize = 108;
    const QRect &b = m_bounds, &f = m_frame;
    return ints({1,
                 headerSize,
                 b.left(),
                 b.top(),
                 b.right(),
                 b.bottom(),
                 f.left(),
                 f.top(),
                 f.right(),
                 f.bottom(),
                 0x464D4520,
                 0x10000,
                 qint32(headerSize + m_body.size() + eof.size()),
                 m_records + 1,
                 m_handles,
                 0,
                 0,
                 0,
                 1920,
                 1080,
                 deviceX / 1000,
                 deviceY / 1000,
                 0,
                 0,
                 0,
                 deviceX,
                 deviceY}) +
           m_body + eof;
}
