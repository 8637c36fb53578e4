#include "MetafileWriter.h"

#include "common/Cp932.h"

#include <QtEndian>
#include <QtMath>

#include <cstring>

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
    MetafileWriter e = emfFrame(QRect(0, 0, pixels.width() * 2540 / 96 + 1,
                                      pixels.height() * 2540 / 96 + 1));
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

qint64 MetafileWriter::real(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

QByteArray MetafileWriter::utf16(const QString &text)
{
    QByteArray out(text.size() * 2, '\0');
    std::memcpy(out.data(), text.utf16(), size_t(out.size()));
    return out;
}

MetafileWriter &MetafileWriter::operator()(quint32 type, const QList<qint64> &fields,
                                           const QByteArray &bytes)
{
    QByteArray body = pack(fields, m_emf ? 4 : 2) + bytes;
    const int unit = m_emf ? 4 : 2;
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
        return ints({1, 108, 0, 0, m_pixels.width() - 1, m_pixels.height() - 1, f.left(), f.top(),
                     f.right(), f.bottom(), 0x464D4520, 0x10000, 108 + m_body.size() + eof.size(),
                     m_records + 2, m_objects, 0, 0, 0, 1920, 1080, 508, 285, 0, 0, 0, 508000,
                     285750}) +
               m_body + eof;
    }
    const QByteArray records = m_body + words({3, 0, 0}); // META_EOF
    const qint64 size = (18 + records.size()) / 2;
    const QByteArray header = words({1, 9, 0x0300, size & 0xFFFF, size >> 16,
                                     objects < 0 ? m_objects : objects, m_largest & 0xFFFF,
                                     m_largest >> 16, 0});
    if (!m_placeable)
        return header + records;
    const QRect &b = m_box;
    QList<qint64> p = {0xCDD7, 0x9AC6, 0, b.left(), b.top(), b.left() + b.width(),
                       b.top() + b.height(), m_unitsPerInch, 0, 0};
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

namespace {

// A small night sky: a dark gradient with a few stars.
QImage sky()
{
    QImage image(60, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x)
            image.setPixel(x, y, qRgb(10 + x / 3, 15 + y, 40 + y * 2));
    for (QPoint s : {QPoint(5, 4), QPoint(20, 10), QPoint(45, 20), QPoint(28, 28)})
        image.setPixel(s, qRgb(255, 255, 230));
    return image;
}

QByteArray cp932(const QString &text)
{
    QByteArray bytes;
    Cp932::encode(text, &bytes);
    return bytes;
}

// The words of a WMF LOGFONT before its face name; italic fonts are underlined too.
QList<qint64> font(int height, int weight, bool italic, int charSet)
{
    return {height, 0, 0, 0, weight, italic ? 0x0101 : 0, charSet << 8, 0, 0};
}

} // namespace

QByteArray MetafileWriter::sampleWmf()
{
    // 480 x 320 pixels in twips, 15 to the pixel.
    MetafileWriter w = placeable(QRect(0, 0, 7200, 4800), 1440);
    w(Wmr::SetMapMode, {8})(Wmr::SetWindowOrg, {0, 0})(Wmr::SetWindowExt, {4800, 7200});
    w(Wmr::SaveDC, {});
    w(Wmr::StretchDib, {0x0020, 0x00CC, 0, 30, 60, 0, 0, 3600, 7200, 0, 0}, dib(sky()));
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, {0, 45, 0, 0xC0FF, 0})});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {1, 0, 0, 0})});
    w(Wmr::Ellipse, {2400, 6300, 600, 4500});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {2, 0xC040, 0xFF, 5})});
    w(Wmr::SetBkMode, {1, 0})(Wmr::IntersectClipRect, {3300, 2700, 300, 300});
    w(Wmr::PolyPolygon, {2, 4, 4, 600, 600, 2400, 600, 2400, 3000, 600, 3000, 1200, 1200, 1800,
                         1200, 1800, 2400, 1200, 2400});
    w(Wmr::RestoreDC, {-1});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {0, 0xA040, 0x40, 0})});
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, {5, 0, 0, 0, 0})});
    w(Wmr::Pie, {0, 3600, 1500, 4800, 2100, 4200, 900, 3000});
    w(Wmr::RoundRect, {300, 300, 3300, 4200, 2400, 3000});
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, {0, 15, 0, 0xFFFF, 0xFF})});
    w(Wmr::MoveTo, {3450, 300})(Wmr::LineTo, {3450, 6900});
    w(Wmr::Polyline, {3, 300, 3540, 3600, 3540, 6900, 3540});
    w(Wmr::SelectObject, {w.create(Wmr::CreateFont, font(-450, 700, false, 128),
                                   cp932(QStringLiteral("ＭＳ ゴシック")))});
    w(Wmr::SetTextColor, {0x2020, 0x20})(Wmr::SetTextAlign, {24, 0});
    const QByteArray title = cp932(QStringLiteral("オリオン大星雲 M42")); // 18 bytes
    w(Wmr::TextOut, {title.size()}, title + words({4200, 300}));
    const int serif = w.create(Wmr::CreateFont, font(-300, 400, true, 0), "DejaVu Serif");
    w(Wmr::SelectObject, {serif})(Wmr::SetTextColor, {0xC0, 0});
    w(Wmr::ExtTextOut, {4500, 4200, 10, 0}, "2024-01-15" + words(QList<qint64>(10, 240)));
    w(Wmr::DeleteObject, {serif});
    return w.finish();
}

QByteArray MetafileWriter::sampleEmf()
{
    MetafileWriter e = emf(QSize(480, 320));
    e(Emr::SetMapMode, {8})(Emr::SetWindowExt, {4800, 3200})(Emr::SetViewportExt, {480, 320});
    const QByteArray sky = dib(::sky());
    e(Emr::StretchDIBits, {0, 0, 4800, 2400, 0, 0, 0, 0, 60, 30, 80, 40, 120, sky.size() - 40, 0,
                           0x00CC0020, 4800, 2400},
      sky);
    e(Emr::SaveDC, {});
    e(Emr::SelectObject, {e.create(Emr::CreatePen, {0x12200, 30, 0, 0xC0FF})});
    e(Emr::SelectObject, {0x80000005}); // NULL_BRUSH
    e(Emr::Ellipse, {3000, 400, 4200, 1600});
    e(Emr::SelectObject, {e.create(Emr::CreateBrush, {2, 0xFFC040, 4})});
    e(Emr::SetBkMode, {1})(Emr::IntersectClipRect, {200, 200, 1800, 2200});
    e(Emr::PolyPolygon, {0, 0, 480, 320, 2, 8, 4, 4, 400, 400, 1600, 400, 1600, 2000, 400, 2000,
                         800, 800, 1200, 800, 1200, 1600, 800, 1600});
    e(Emr::RestoreDC, {-1})(Emr::ExtSelectClipRgn, {0, 5});
    e(Emr::SelectObject, {e.create(Emr::CreateBrush, {0, 0x40A040, 0})});
    e(Emr::SelectObject, {0x80000008}); // NULL_PEN
    e(Emr::Pie, {2000, 600, 2800, 1400, 3200, 1000, 2400, 0});
    e(Emr::SaveDC, {});
    const float c = float(qCos(0.3)), s = float(qSin(0.3));
    e(Emr::SetWorldTransform, {real(c), real(s), real(-s), real(c), real(2400), real(1700)});
    e(Emr::RoundRect, {-300, -200, 300, 200, 200, 200})(Emr::RestoreDC, {-1});
    e(Emr::SelectObject, {e.create(Emr::CreatePen, {0, 10, 0, 0xFFFFFF})});
    e(Emr::MoveTo, {200, 2300})(Emr::LineTo, {4600, 2300});
    e(Emr::PolyBezier, {0, 0, 480, 320, 4, 200, 2360, 1600, 2200, 3200, 2520, 4600, 2360});
    e(Emr::BeginPath, {})(Emr::MoveTo, {4200, 1800})(Emr::LineTo, {4600, 1800});
    e(Emr::LineTo, {4400, 2100})(Emr::EndPath, {})(Emr::FillPath, {0, 0, 480, 320});
    const auto face = [](const QString &name) { return utf16(name).leftJustified(320 - 28, '\0'); };
    e(Emr::SelectObject, {e.create(Emr::CreateFont, {-300, 0, 0, 0, 700, 128 << 24, 0},
                                   face(QStringLiteral("ＭＳ ゴシック")))});
    e(Emr::SetTextColor, {0x202020})(Emr::SetTextAlign, {24});
    const QString title = QStringLiteral("オリオン大星雲 M42");
    e(Emr::ExtTextOutW, {0, 0, 480, 320, 1, 0, 0, 200, 2800, title.size(), 76, 0, 0, 0, 0, 0, 0},
      utf16(title));
    const int serif = e.create(Emr::CreateFont, {-200, 0, 0, 0, 400, 0x0101, 0},
                               face(QStringLiteral("DejaVu Serif")));
    e(Emr::SelectObject, {serif})(Emr::SetTextColor, {0xC0});
    e(Emr::ExtTextOutW, {0, 0, 480, 320, 1, 0, 0, 2800, 3000, 10, 76, 0, 0, 0, 0, 0, 96},
      utf16(QStringLiteral("2024-01-15")) + ints(QList<qint64>(10, 160)));
    e(Emr::DeleteObject, {serif});
    return e.finish();
}
