#include "MetafileWriter.h"

#include <QtEndian>

MetafileWriter MetafileWriter::wmf(QSize size)
{
    MetafileWriter w;
    w(Wmr::SetWindowExt, {size.height(), size.width()});
    return w;
}

MetafileWriter MetafileWriter::placeable(const QRect &bounds, int unitsPerInch)
{
    MetafileWriter w;
    w.m_placeable = true;
    w.m_box = bounds;
    w.m_unitsPerInch = unitsPerInch;
    return w;
}

MetafileWriter MetafileWriter::emf(QSize pixels)
{
    MetafileWriter e =
        emfFrame(QRect(0, 0, pixels.width() * 2540 / 96 + 1, pixels.height() * 2540 / 96 + 1));
    e.m_pixels = pixels;
    return e;
}

MetafileWriter MetafileWriter::emfFrame(const QRect &frame)
{
    MetafileWriter e;
    e.m_emf = true;
    e.m_box = frame;
    e.m_pixels = QSize(1, 1);
    e.m_objects = 1; // handle 0 is the file itself
    return e;
}

QByteArray MetafileWriter::pack(const QList<qint64> &values, int size)
{
    QByteArray out(values.size() * size, '\0');
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (size == 2)
            qToLittleEndian<quint16>(quint16(values[i]), out.data() + 2 * i);
        else
            qToLittleEndian<quint32>(quint32(values[i]), out.data() + 4 * i);
    }
    return out;
}

QByteArray MetafileWriter::utf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

MetafileWriter &MetafileWriter::operator()(quint32 type, const QList<qint64> &fields,
                                           const QByteArray &bytes)
{
    const int unit = m_emf ? 4 : 2;
    QByteArray body = pack(fields, unit) + bytes;
    body.append((unit - body.size() % unit) % unit, '\0');
    if (m_emf) {
        m_body += ints({type, 8 + body.size()}) + body;
    } else {
        const qint64 size = 3 + body.size() / 2;
        m_body += words({size & 0xFFFF, size >> 16, type}) + body;
        m_largest = std::max(m_largest, size);
    }
    ++m_records;
    return *this;
}

int MetafileWriter::create(quint32 type, const QList<qint64> &fields, const QByteArray &bytes)
{
    (*this)(type, m_emf ? QList<qint64>{m_objects} + fields : fields, bytes);
    return m_objects++;
}

QByteArray MetafileWriter::finish(int objects) const
{
    if (m_emf) {
        // The reference device: 1920 x 1080 pixels at exactly 96 dpi (508 x 285.75 mm).
        const QByteArray eof = ints({14, 20, 0, 16, 20});
        const QRect &f = m_box;
        const QByteArray bounds = ints({0, 0, m_pixels.width() - 1, m_pixels.height() - 1});
        const QByteArray frame = ints({f.left(), f.top(), f.right(), f.bottom()});
        const QByteArray counts = ints({0x464D4520, 0x10000, 108 + m_body.size() + eof.size(),
                                        m_records + 2, m_objects, 0, 0, 0});
        const QByteArray device = ints({1920, 1080, 508, 285, 0, 0, 0, 508000, 285750});
        return ints({1, 108}) + bounds + frame + counts + device + m_body + eof;
    }
    const QByteArray records = m_body + words({3, 0, 0}); // META_EOF
    const qint64 size = (18 + records.size()) / 2;
    const QByteArray header =
        words({1, 9, 0x0300, size & 0xFFFF, size >> 16, objects < 0 ? m_objects : objects,
               m_largest & 0xFFFF, m_largest >> 16, 0});
    if (!m_placeable)
        return header + records;
    const QRect &b = m_box;
    QList<qint64> p = {
        0xCDD7,         0x9AC6, 0, b.left(), b.top(), b.left() + b.width(), b.top() + b.height(),
        m_unitsPerInch, 0,      0};
    qint64 checksum = 0;
    for (qint64 w : p)
        checksum ^= w & 0xFFFF;
    return words(p << checksum) + header + records;
}

QByteArray MetafileWriter::dib(const QImage &image, int bitCount)
{
    const int stride = (image.width() * bitCount + 31) / 32 * 4;
    QList<QRgb> colours;
    QByteArray bits;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (bitCount == 24) {
                row.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
            } else {
                if (!colours.contains(c))
                    colours.append(c);
                row.append(char(colours.indexOf(c)));
            }
        }
        bits += row.leftJustified(stride, '\0');
    }
    QByteArray table;
    for (QRgb c : colours)
        table += ints({qint64(c & 0xFFFFFF)});
    // BITMAPINFOHEADER, BI_RGB, 96 dpi; a positive height: bottom-up.
    return ints({40, image.width(), image.height()}) + words({1, bitCount}) +
           ints({0, bits.size(), 3780, 3780, colours.size(), 0}) + table + bits;
}
