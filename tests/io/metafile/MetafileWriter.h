#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>

#include <bit>

// Record numbers as the WMF and EMF format documents give them.
namespace Wmr {
constexpr quint16 SaveDC = 0x001E, SetBkMode = 0x0102, SetMapMode = 0x0103, SetRop2 = 0x0104,
                  SetPolyFillMode = 0x0106, RestoreDC = 0x0127, SelectObject = 0x012D,
                  SetTextAlign = 0x012E, DibCreatePatternBrush = 0x0142, DeleteObject = 0x01F0,
                  SetBkColor = 0x0201, SetTextColor = 0x0209, SetWindowOrg = 0x020B,
                  SetWindowExt = 0x020C, SetViewportOrg = 0x020D, SetViewportExt = 0x020E,
                  OffsetClipRgn = 0x0220, LineTo = 0x0213, MoveTo = 0x0214, CreatePen = 0x02FA,
                  CreateFont = 0x02FB, CreateBrush = 0x02FC, Polygon = 0x0324, Polyline = 0x0325,
                  ScaleWindowExt = 0x0410, ExcludeClipRect = 0x0415, IntersectClipRect = 0x0416,
                  Ellipse = 0x0418, Rectangle = 0x041B, TextOut = 0x0521, PolyPolygon = 0x0538,
                  RoundRect = 0x061C, Escape = 0x0626, CreateRegion = 0x06FF, Arc = 0x0817,
                  Pie = 0x081A, Chord = 0x0830, DibBitBlt = 0x0940, ExtTextOut = 0x0A32,
                  StretchDib = 0x0F43;
}
namespace Emr {
constexpr quint32 PolyBezier = 2, Polygon = 3, PolyBezierTo = 5, PolyPolygon = 8, SetWindowExt = 9,
                  SetViewportExt = 11, SetViewportOrg = 12, SetMapMode = 17, SetBkMode = 18,
                  SetRop2 = 20, SetTextAlign = 22, SetTextColor = 24, MoveTo = 27,
                  IntersectClipRect = 30, SaveDC = 33, RestoreDC = 34, SetWorldTransform = 35,
                  ModifyWorldTransform = 36, SelectObject = 37, AngleArc = 41, CreatePen = 38,
                  CreateBrush = 39, DeleteObject = 40, Ellipse = 42, Rectangle = 43, RoundRect = 44,
                  Pie = 47, LineTo = 54, BeginPath = 59, EndPath = 60, FillPath = 62, Comment = 70,
                  ExtSelectClipRgn = 75, BitBlt = 76, StretchDIBits = 81, CreateFont = 82,
                  ExtTextOutW = 84, Polygon16 = 86, CreateDibPatternBrush = 94;
}

// Builds WMF and EMF files for the tests. A record is data: its number, its fields in the order
// the file holds them (16-bit words in a WMF, 32-bit values in an EMF), then any bytes after them.
class MetafileWriter
{
public:
    // A plain WMF whose window extent, its first record, gives its size.
    static MetafileWriter wmf(QSize size);
    // A placeable WMF with its bounding box in logical units.
    static MetafileWriter placeable(const QRect &bounds, int unitsPerInch);
    // An EMF of the given pixel size at 96 dpi, or with its frame given in 0.01 mm.
    static MetafileWriter emf(QSize pixels);
    static MetafileWriter emfFrame(const QRect &frame);

    MetafileWriter &operator()(quint32 type, const QList<qint64> &fields,
                               const QByteArray &bytes = {});
    // A record that makes an object; gives its WMF slot (no slot freed) or its EMF handle, which
    // the EMF record's first field holds.
    int create(quint32 type, const QList<qint64> &fields, const QByteArray &bytes = {});
    // The file; a WMF header says `objects` objects when it is given.
    QByteArray finish(int objects = -1) const;

    // Field values: 16-bit words, 32-bit values, a float's bits, a COLORREF of a pixel colour.
    static QByteArray words(const QList<qint64> &values) { return pack(values, 2); }
    static QByteArray ints(const QList<qint64> &values) { return pack(values, 4); }
    static qint64 real(float value) { return std::bit_cast<quint32>(value); }
    static quint32 ref(QRgb c) { return qRed(c) | qGreen(c) << 8 | quint32(qBlue(c)) << 16; }
    static QByteArray utf16(const QString &text);
    // A packed bottom-up DIB of 24 bits, or of 8 bits with a colour table.
    static QByteArray dib(const QImage &image, int bitCount = 24);

private:
    static QByteArray pack(const QList<qint64> &values, int size);

    bool m_emf = false;
    bool m_placeable = false;
    QRect m_box; // WMF bounding box, EMF frame
    int m_unitsPerInch = 0;
    QSize m_pixels;
    QByteArray m_body;
    int m_records = 0;
    int m_objects = 0;
    qint64 m_largest = 3;
};
