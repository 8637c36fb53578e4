#include "EmfPlayer.h"

#include "DibDecoder.h"
#include "GdiObject.h"
#include "MetafileCanvas.h"
#include "MetafileErrors.h"
#include "MetafileLimits.h"
#include "MetafileText.h"

#include <uemf.h>
#include <uemf_endian.h>
#include <uemf_safe.h>

#include <QSet>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

// One record whose frame lies inside the data. Readers check every offset against the record's
// own size in 64-bit arithmetic; libUEMF's checks come first, these guard what they miss
// (counts whose products overflow 32 bits).
struct Record
{
    const char *data = nullptr;
    quint32 size = 0;
    quint32 type = 0;

    bool fits(quint64 offset, quint64 length) const
    {
        return offset <= size && length <= size - offset;
    }
    qint32 i32(quint64 at) const { return fits(at, 4) ? qFromLittleEndian<qint32>(data + at) : 0; }
    quint32 u32(quint64 at) const { return quint32(i32(at)); }
    float f32(quint64 at) const
    {
        float value = 0;
        if (fits(at, 4))
            std::memcpy(&value, data + at, 4);
        return value;
    }
    QPointF pointL(quint64 at) const { return QPointF(i32(at), i32(at + 4)); }
    QPointF point16(quint64 at) const
    {
        return fits(at, 4) ? QPointF(qFromLittleEndian<qint16>(data + at),
                                     qFromLittleEndian<qint16>(data + at + 2))
                           : QPointF();
    }
    MetafileCanvas::Box box(quint64 at) const
    {
        return {double(i32(at)), double(i32(at + 4)), double(i32(at + 8)), double(i32(at + 12))};
    }
    QByteArrayView bytes(quint64 at, quint64 length) const
    {
        return fits(at, length) ? QByteArrayView(data + at, qsizetype(length)) : QByteArrayView();
    }
};

QRgb colorOf(quint32 colorRef)
{
    if ((colorRef >> 24) == 0x01)
        return qRgb(0, 0, 0);
    return qRgb(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

QTransform xformAt(const Record &r, quint64 at)
{
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16),
                      r.f32(at + 20));
}

// Walks the record frames from the header to EMR_EOF, checking that each lies inside the data.
// visit(record, end of data) returns false to stop early.
template <typename Visit> bool walk(QByteArrayView data, QString *error, Visit visit)
{
    qsizetype pos = 0;
    qint64 count = 0;
    const char *limit = data.data() + data.size();
    while (true) {
        if (pos + 8 > data.size()) {
            *error = MetafileErrors::noEndRecord();
            return false;
        }
        const char *at = data.data() + pos;
        const quint32 type = qFromLittleEndian<quint32>(at);
        const quint32 size = qFromLittleEndian<quint32>(at + 4);
        if (size < 8 || size % 4 != 0 || size > quint64(data.size() - pos)) {
            *error = MetafileErrors::damagedRecord(pos);
            return false;
        }
        if (type == U_EMR_EOF)
            return true;
        if (++count > MetafileLimits::MaxRecords) {
            *error = MetafileErrors::tooComplex();
            return false;
        }
        if (!visit(Record{at, size, type}, limit))
            return true;
        pos += size;
    }
}

// Whether a record is one the player draws and libUEMF finds its sizes, counts and offsets
// inside the record. Other records are skipped unseen (libUEMF reports unknown ones on stdout).
bool played(const Record &r, const char *limit)
{
    static const QSet<quint32> types = {U_EMR_POLYBEZIER,
                                        U_EMR_POLYGON,
                                        U_EMR_POLYLINE,
                                        U_EMR_POLYBEZIERTO,
                                        U_EMR_POLYLINETO,
                                        U_EMR_POLYPOLYLINE,
                                        U_EMR_POLYPOLYGON,
                                        U_EMR_SETWINDOWEXTEX,
                                        U_EMR_SETWINDOWORGEX,
                                        U_EMR_SETVIEWPORTEXTEX,
                                        U_EMR_SETVIEWPORTORGEX,
                                        U_EMR_SETPIXELV,
                                        U_EMR_SETMAPMODE,
                                        U_EMR_SETBKMODE,
                                        U_EMR_SETPOLYFILLMODE,
                                        U_EMR_SETROP2,
                                        U_EMR_SETSTRETCHBLTMODE,
                                        U_EMR_SETTEXTALIGN,
                                        U_EMR_SETTEXTCOLOR,
                                        U_EMR_SETBKCOLOR,
                                        U_EMR_OFFSETCLIPRGN,
                                        U_EMR_MOVETOEX,
                                        U_EMR_EXCLUDECLIPRECT,
                                        U_EMR_INTERSECTCLIPRECT,
                                        U_EMR_SCALEVIEWPORTEXTEX,
                                        U_EMR_SCALEWINDOWEXTEX,
                                        U_EMR_SAVEDC,
                                        U_EMR_RESTOREDC,
                                        U_EMR_SETWORLDTRANSFORM,
                                        U_EMR_MODIFYWORLDTRANSFORM,
                                        U_EMR_SELECTOBJECT,
                                        U_EMR_CREATEPEN,
                                        U_EMR_CREATEBRUSHINDIRECT,
                                        U_EMR_DELETEOBJECT,
                                        U_EMR_ANGLEARC,
                                        U_EMR_ELLIPSE,
                                        U_EMR_RECTANGLE,
                                        U_EMR_ROUNDRECT,
                                        U_EMR_ARC,
                                        U_EMR_CHORD,
                                        U_EMR_PIE,
                                        U_EMR_CREATEPALETTE,
                                        U_EMR_LINETO,
                                        U_EMR_ARCTO,
                                        U_EMR_SETARCDIRECTION,
                                        U_EMR_SETMITERLIMIT,
                                        U_EMR_BEGINPATH,
                                        U_EMR_ENDPATH,
                                        U_EMR_CLOSEFIGURE,
                                        U_EMR_FILLPATH,
                                        U_EMR_STROKEANDFILLPATH,
                                        U_EMR_STROKEPATH,
                                        U_EMR_SELECTCLIPPATH,
                                        U_EMR_ABORTPATH,
                                        U_EMR_FILLRGN,
                                        U_EMR_EXTSELECTCLIPRGN,
                                        U_EMR_BITBLT,
                                        U_EMR_STRETCHBLT,
                                        U_EMR_SETDIBITSTODEVICE,
                                        U_EMR_STRETCHDIBITS,
                                        U_EMR_EXTCREATEFONTINDIRECTW,
                                        U_EMR_EXTTEXTOUTA,
                                        U_EMR_EXTTEXTOUTW,
                                        U_EMR_POLYBEZIER16,
                                        U_EMR_POLYGON16,
                                        U_EMR_POLYLINE16,
                                        U_EMR_POLYBEZIERTO16,
                                        U_EMR_POLYLINETO16,
                                        U_EMR_POLYPOLYLINE16,
                                        U_EMR_POLYPOLYGON16,
                                        U_EMR_CREATEMONOBRUSH,
                                        U_EMR_CREATEDIBPATTERNBRUSHPT,
                                        U_EMR_EXTCREATEPEN,
                                        U_EMR_CREATECOLORSPACE,
                                        U_EMR_CREATECOLORSPACEW};
    if (!types.contains(r.type))
        return false;
    uint32_t size = 0, type = 0;
    // The last argument tells libUEMF that the record is in this machine's byte order.
    return U_emf_record_sizeok(r.data, limit, &size, &type, 1) && U_emf_record_safe(r.data);
}

class Playback
{
public:
    Playback(MetafileCanvas *canvas, int handleCount) : m_canvas(canvas)
    {
        m_objects.resize(std::clamp(handleCount, 1, MetafileLimits::MaxObjects));
    }

    bool play(const Record &r);

private:
    void setObject(quint32 index, const GdiObject &object);
    void selectObject(quint32 index);
    void deleteObject(quint32 index);
    QPolygonF points(const Record &r, quint64 at, quint64 count, bool small) const;
    void poly(const Record &r, bool small);
    void polyPoly(const Record &r, bool small);
    void text(const Record &r, bool wide);
    QImage bitmap(const Record &r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                  quint32 usage);
    QList<QRect> region(const Record &r, quint64 at, quint32 cb);
    bool charge(qint64 units)
    {
        m_work += units;
        return m_work <= MetafileLimits::MaxWork;
    }

    MetafileCanvas *m_canvas;
    QList<GdiObject> m_objects;
    qint64 m_work = 0;
};

void Playback::setObject(quint32 index, const GdiObject &object)
{
    if (index == 0 || index >= quint32(MetafileLimits::MaxObjects))
        return;
    if (index >= quint32(m_objects.size()))
        m_objects.resize(index + 1);
    m_objects[index] = object;
}

void Playback::selectObject(quint32 index)
{
    if (index & U_STOCK_OBJECT) {
        GdiObject object;
        switch (index & ~U_STOCK_OBJECT) {
        case 0:    // WHITE_BRUSH
        case 1:    // LTGRAY_BRUSH
        case 2:    // GRAY_BRUSH
        case 3:    // DKGRAY_BRUSH
        case 4:    // BLACK_BRUSH
        case 18: { // DC_BRUSH
            static const QRgb shades[] = {qRgb(255, 255, 255), qRgb(192, 192, 192),
                                          qRgb(128, 128, 128), qRgb(64, 64, 64), qRgb(0, 0, 0)};
            const quint32 stock = index & ~U_STOCK_OBJECT;
            object.brush.color = stock == 18 ? qRgb(255, 255, 255) : shades[stock];
            m_canvas->selectBrush(object.brush);
            break;
        }
        case 5: // NULL_BRUSH
            object.brush.style = U_BS_NULL;
            m_canvas->selectBrush(object.brush);
            break;
        case 6: // WHITE_PEN
            object.pen.color = qRgb(255, 255, 255);
            m_canvas->selectPen(object.pen);
            break;
        case 7:  // BLACK_PEN
        case 19: // DC_PEN
            m_canvas->selectPen(object.pen);
            break;
        case 8: // NULL_PEN
            object.pen.style = U_PS_NULL;
            m_canvas->selectPen(object.pen);
            break;
        case 10: // OEM_FIXED_FONT
        case 11: // ANSI_FIXED_FONT
        case 16: // SYSTEM_FIXED_FONT
            object.font.face = QStringLiteral("Monospace");
            m_canvas->selectFont(object.font);
            break;
        case 12:
        case 13:
        case 14:
        case 17:
            m_canvas->selectFont(object.font);
            break;
        default:
            break;
        }
        return;
    }
    if (index >= quint32(m_objects.size()))
        return;
    m_canvas->selectObject(m_objects.at(index));
}

void Playback::deleteObject(quint32 index)
{
    if (!(index & U_STOCK_OBJECT) && index < quint32(m_objects.size()))
        m_objects[index] = GdiObject();
}

QPolygonF Playback::points(const Record &r, quint64 at, quint64 count, bool small) const
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(count));
    const quint64 step = small ? 4 : 8;
    for (quint64 i = 0; i < count; ++i)
        polygon.append(small ? r.point16(at + i * step) : r.pointL(at + i * step));
    return polygon;
}

void Playback::poly(const Record &r, bool small)
{
    const quint64 count = r.u32(24);
    if (!r.fits(28, count * (small ? 4 : 8)) || !charge(qint64(count)))
        return;
    const QPolygonF list = points(r, 28, count, small);
    switch (r.type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16:
        m_canvas->polyBezier(list);
        break;
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16:
        m_canvas->polygon(list);
        break;
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16:
        m_canvas->polyline(list);
        break;
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16:
        m_canvas->polyBezierTo(list);
        break;
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16:
        m_canvas->polylineTo(list);
        break;
    default:
        break;
    }
}

void Playback::polyPoly(const Record &r, bool small)
{
    const quint64 polygons = r.u32(24);
    const quint64 total = r.u32(28);
    if (!r.fits(32, polygons * 4))
        return;
    const quint64 pointsAt = 32 + polygons * 4;
    if (!r.fits(pointsAt, total * (small ? 4 : 8)) || !charge(qint64(total + polygons)))
        return;
    QList<QPolygonF> list;
    quint64 used = 0;
    for (quint64 i = 0; i < polygons; ++i) {
        const quint64 count = r.u32(32 + i * 4);
        if (count > total - used)
            return;
        list.append(points(r, pointsAt + used * (small ? 4 : 8), count, small));
        used += count;
    }
    if (r.type == U_EMR_POLYPOLYGON || r.type == U_EMR_POLYPOLYGON16)
        m_canvas->polyPolygon(list);
    else
        m_canvas->polyPolyline(list);
}

void Playback::text(const Record &r, bool wide)
{
    // EMRTEXT starts at byte 36: reference, count, string offset, options, [rectangle], dx offset.
    const QPointF reference = r.pointL(36);
    const quint64 count = r.u32(44);
    const quint64 offString = r.u32(48);
    const quint32 options = r.u32(52);
    std::optional<MetafileCanvas::Box> box;
    quint64 offDxAt = 56;
    if (!(options & U_ETO_NO_RECT)) {
        if (options & (U_ETO_OPAQUE | U_ETO_CLIPPED))
            box = r.box(56);
        offDxAt = 72;
    }
    const quint64 offDx = r.u32(offDxAt);
    const quint64 unitBytes = wide ? 2 : 1;
    if (!r.fits(offString, count * unitBytes) || !charge(qint64(count)))
        return;
    const quint64 perChar = (options & U_ETO_PDY) ? 2 : 1;
    QList<double> advances;
    if (offDx != 0 && r.fits(offDx, count * perChar * 4)) {
        advances.reserve(qsizetype(count));
        for (quint64 i = 0; i < count; ++i)
            advances.append(r.i32(offDx + i * perChar * 4));
    }
    QString string;
    QList<double> charAdvances;
    if (wide) {
        string.resize(qsizetype(count));
        for (quint64 i = 0; i < count; ++i)
            string[qsizetype(i)] = QChar(qFromLittleEndian<quint16>(r.data + offString + i * 2));
        charAdvances = advances;
    } else {
        string = MetafileText::decode(r.bytes(offString, count), m_canvas->font().charSet, advances,
                                      &charAdvances);
        if (advances.isEmpty())
            charAdvances.clear();
    }
    m_canvas->textOut(reference, string, charAdvances, options, box);
}

QImage Playback::bitmap(const Record &r, quint32 offBmi, quint32 cbBmi, quint32 offBits,
                        quint32 cbBits, quint32 usage)
{
    if (!r.fits(offBmi, cbBmi) || !r.fits(offBits, cbBits))
        return {};
    const QByteArrayView info = r.bytes(offBmi, cbBmi);
    int width = 0, height = 0;
    if (!DibDecoder::dimensions(info, &width, &height) ||
        !charge(qint64(width) * std::abs(height) / 64))
        return {};
    return DibDecoder::decode(info, r.bytes(offBits, cbBits), usage);
}

QList<QRect> Playback::region(const Record &r, quint64 at, quint32 cb)
{
    // RGNDATA: a 32-byte header (size, type, count, size of rectangles, bounds), then rectangles
    // in device units.
    QList<QRect> rects;
    if (cb < U_RDH_OBJSIZE || !r.fits(at, cb))
        return rects;
    const quint64 count = r.u32(at + 8);
    if (count * 16 > cb - U_RDH_OBJSIZE)
        return rects;
    auto rectAt = [&](quint64 p) {
        return QRect(QPoint(r.i32(p), r.i32(p + 4)), QPoint(r.i32(p + 8), r.i32(p + 12)));
    };
    if (qint64(count) > MetafileLimits::MaxRegionRects) {
        rects.append(rectAt(at + 16));
        return rects;
    }
    charge(qint64(count) * qint64(count) / 64 + qint64(count));
    for (quint64 i = 0; i < count; ++i)
        rects.append(rectAt(at + U_RDH_OBJSIZE + i * 16));
    return rects;
}

bool Playback::play(const Record &r)
{
    using Box = MetafileCanvas::Box;
    if (!charge(1))
        return false;
    switch (r.type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO:
        poly(r, false);
        break;
    case U_EMR_POLYBEZIER16:
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16:
    case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16:
        poly(r, true);
        break;
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYGON:
        polyPoly(r, false);
        break;
    case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16:
        polyPoly(r, true);
        break;
    case U_EMR_SETWINDOWEXTEX:
        m_canvas->setWindowExt(r.i32(8), r.i32(12));
        break;
    case U_EMR_SETWINDOWORGEX:
        m_canvas->setWindowOrg(r.pointL(8));
        break;
    case U_EMR_SETVIEWPORTEXTEX:
        m_canvas->setViewportExt(r.i32(8), r.i32(12));
        break;
    case U_EMR_SETVIEWPORTORGEX:
        m_canvas->setViewportOrg(r.pointL(8));
        break;
    case U_EMR_SETPIXELV:
        m_canvas->setPixel(r.pointL(8), colorOf(r.u32(16)));
        break;
    case U_EMR_SETMAPMODE:
        m_canvas->setMapMode(int(r.u32(8)));
        break;
    case U_EMR_SETBKMODE:
        m_canvas->setBkMode(int(r.u32(8)));
        break;
    case U_EMR_SETPOLYFILLMODE:
        m_canvas->setPolyFillMode(int(r.u32(8)));
        break;
    case U_EMR_SETROP2:
        m_canvas->setRop2(int(r.u32(8)));
        break;
    case U_EMR_SETSTRETCHBLTMODE:
        m_canvas->setStretchBltMode(int(r.u32(8)));
        break;
    case U_EMR_SETTEXTALIGN:
        m_canvas->setTextAlign(r.u32(8));
        break;
    case U_EMR_SETTEXTCOLOR:
        m_canvas->setTextColor(colorOf(r.u32(8)));
        break;
    case U_EMR_SETBKCOLOR:
        m_canvas->setBkColor(colorOf(r.u32(8)));
        break;
    case U_EMR_OFFSETCLIPRGN:
        m_canvas->offsetClip(r.pointL(8));
        break;
    case U_EMR_MOVETOEX:
        m_canvas->moveTo(r.pointL(8));
        break;
    case U_EMR_EXCLUDECLIPRECT:
        m_canvas->excludeClipRect(r.box(8));
        break;
    case U_EMR_INTERSECTCLIPRECT:
        m_canvas->intersectClipRect(r.box(8));
        break;
    case U_EMR_SCALEVIEWPORTEXTEX:
        m_canvas->scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SCALEWINDOWEXTEX:
        m_canvas->scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SAVEDC:
        m_canvas->saveDC();
        break;
    case U_EMR_RESTOREDC:
        m_canvas->restoreDC(r.i32(8));
        break;
    case U_EMR_SETWORLDTRANSFORM:
        m_canvas->setWorldTransform(xformAt(r, 8));
        break;
    case U_EMR_MODIFYWORLDTRANSFORM:
        m_canvas->modifyWorldTransform(xformAt(r, 8), int(r.u32(32)));
        break;
    case U_EMR_SELECTOBJECT:
        selectObject(r.u32(8));
        break;
    case U_EMR_DELETEOBJECT:
        deleteObject(r.u32(8));
        break;
    case U_EMR_CREATEPEN: {
        GdiObject object;
        object.kind = GdiObject::Kind::Pen;
        object.pen.style = r.u32(12);
        object.pen.width = std::abs(double(r.i32(16)));
        object.pen.color = colorOf(r.u32(24));
        setObject(r.u32(8), object);
        break;
    }
    case U_EMR_EXTCREATEPEN: {
        GdiObject object;
        object.kind = GdiObject::Kind::Pen;
        object.pen.style = r.u32(28);
        object.pen.width = r.u32(32);
        object.pen.color = colorOf(r.u32(40));
        if (r.u32(36) == U_BS_NULL)
            object.pen.style = (object.pen.style & ~0xFu) | U_PS_NULL;
        const quint64 entries = r.u32(48);
        if (entries <= 16 && r.fits(52, entries * 4))
            for (quint64 i = 0; i < entries; ++i)
                object.pen.userDashes.append(r.u32(52 + i * 4));
        setObject(r.u32(8), object);
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        GdiObject object;
        object.kind = GdiObject::Kind::Brush;
        object.brush.style = r.u32(12);
        object.brush.color = colorOf(r.u32(16));
        object.brush.hatch = r.u32(20);
        setObject(r.u32(8), object);
        break;
    }
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        GdiObject object;
        object.kind = GdiObject::Kind::Brush;
        object.brush.style = U_BS_DIBPATTERNPT;
        object.brush.color = qRgb(0, 0, 0);
        object.brush.pattern = bitmap(r, r.u32(16), r.u32(20), r.u32(24), r.u32(28), r.u32(12));
        setObject(r.u32(8), object);
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW:
        if (r.fits(12, 92)) {
            GdiObject object;
            object.kind = GdiObject::Kind::Font;
            GdiFont &font = object.font;
            font.height = r.i32(12);
            font.width = r.i32(16);
            font.escapement = r.i32(20);
            font.weight = r.i32(28);
            font.italic = r.data[32];
            font.underline = r.data[33];
            font.strikeOut = r.data[34];
            font.charSet = uchar(r.data[35]);
            font.pitchAndFamily = uchar(r.data[39]);
            for (int i = 0; i < 32; ++i) {
                const char16_t c = qFromLittleEndian<quint16>(r.data + 40 + 2 * i);
                if (c == 0)
                    break;
                font.face.append(QChar(c));
            }
            setObject(r.u32(8), object);
        }
        break;
    case U_EMR_CREATEPALETTE:
    case U_EMR_CREATECOLORSPACE:
    case U_EMR_CREATECOLORSPACEW:
        setObject(r.u32(8), GdiObject{GdiObject::Kind::Other, {}, {}, {}});
        break;
    case U_EMR_ANGLEARC:
        m_canvas->angleArc(r.pointL(8), r.u32(16), r.f32(20), r.f32(24));
        break;
    case U_EMR_ELLIPSE:
        m_canvas->ellipse(r.box(8));
        break;
    case U_EMR_RECTANGLE:
        m_canvas->rectangle(r.box(8));
        break;
    case U_EMR_ROUNDRECT:
        m_canvas->roundRect(r.box(8), r.i32(24), r.i32(28));
        break;
    case U_EMR_ARC:
    case U_EMR_CHORD:
    case U_EMR_PIE:
    case U_EMR_ARCTO: {
        const auto kind = r.type == U_EMR_ARC     ? MetafileCanvas::ArcKind::Arc
                          : r.type == U_EMR_CHORD ? MetafileCanvas::ArcKind::Chord
                          : r.type == U_EMR_PIE   ? MetafileCanvas::ArcKind::Pie
                                                  : MetafileCanvas::ArcKind::ArcTo;
        m_canvas->arc(kind, r.box(8), r.pointL(24), r.pointL(32));
        break;
    }
    case U_EMR_LINETO:
        m_canvas->lineTo(r.pointL(8));
        break;
    case U_EMR_SETARCDIRECTION:
        m_canvas->setArcDirection(int(r.u32(8)));
        break;
    case U_EMR_SETMITERLIMIT:
        m_canvas->setMiterLimit(r.u32(8));
        break;
    case U_EMR_BEGINPATH:
        m_canvas->beginPath();
        break;
    case U_EMR_ENDPATH:
        m_canvas->endPath();
        break;
    case U_EMR_CLOSEFIGURE:
        m_canvas->closeFigure();
        break;
    case U_EMR_FILLPATH:
        m_canvas->fillPath();
        break;
    case U_EMR_STROKEANDFILLPATH:
        m_canvas->strokeAndFillPath();
        break;
    case U_EMR_STROKEPATH:
        m_canvas->strokePath();
        break;
    case U_EMR_SELECTCLIPPATH:
        m_canvas->selectClipPath(int(r.u32(8)));
        break;
    case U_EMR_ABORTPATH:
        m_canvas->abortPath();
        break;
    case U_EMR_FILLRGN: {
        const quint32 brushIndex = r.u32(28);
        if (brushIndex < quint32(m_objects.size()) &&
            m_objects.at(brushIndex).kind == GdiObject::Kind::Brush)
            m_canvas->fillRegion(region(r, 32, r.u32(24)), m_objects.at(brushIndex).brush);
        break;
    }
    case U_EMR_EXTSELECTCLIPRGN: {
        const quint32 cb = r.u32(8);
        m_canvas->selectClipRegion(cb == 0 ? QList<QRect>() : region(r, 16, cb), int(r.u32(12)));
        break;
    }
    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT: {
        // Dest, cDest, rop, Src, xformSrc, bkColor, usage, offBmi, cbBmi, offBits, cbBits[, cSrc]
        const double x = r.i32(24), y = r.i32(28), w = r.i32(32), h = r.i32(36);
        const Box dest{x, y, x + w, y + h};
        const quint32 rop = r.u32(40);
        const quint32 cbBmi = r.u32(88);
        if (cbBmi == 0) {
            m_canvas->patBlt(dest, rop);
            break;
        }
        const QImage image = bitmap(r, r.u32(84), cbBmi, r.u32(92), r.u32(96), r.u32(80));
        if (image.isNull())
            break;
        const QPointF src = r.pointL(44);
        const QSizeF size =
            r.type == U_EMR_STRETCHBLT ? QSizeF(r.i32(100), r.i32(104)) : QSizeF(w, h);
        m_canvas->drawImage(dest, image, QRectF(src, size), rop);
        break;
    }
    case U_EMR_STRETCHDIBITS:
    case U_EMR_SETDIBITSTODEVICE: {
        // Dest, Src, cSrc, offBmi, cbBmi, offBits, cbBits, usage, then rop and cDest or scans.
        const bool stretch = r.type == U_EMR_STRETCHDIBITS;
        const double x = r.i32(24), y = r.i32(28);
        const double sw = r.i32(40), sh = r.i32(44);
        const double w = stretch ? r.i32(72) : sw, h = stretch ? r.i32(76) : sh;
        const QImage image = bitmap(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60), r.u32(64));
        if (image.isNull())
            break;
        QRectF source(r.i32(32), r.i32(36), sw, sh);
        int dibWidth = 0, dibHeight = 0;
        // DIB source rectangles count rows from the bottom of a bottom-up bitmap.
        if (DibDecoder::dimensions(r.bytes(r.u32(48), r.u32(52)), &dibWidth, &dibHeight) &&
            dibHeight > 0)
            source.moveTop(image.height() - source.bottom());
        m_canvas->drawImage(Box{x, y, x + w, y + h}, image, source,
                            stretch ? r.u32(68) : U_SRCCOPY);
        break;
    }
    case U_EMR_EXTTEXTOUTA:
        text(r, false);
        break;
    case U_EMR_EXTTEXTOUTW:
        text(r, true);
        break;
    default:
        break; // records without effect on the picture, and unknown ones
    }
    return m_work <= MetafileLimits::MaxWork;
}

} // namespace

bool EmfPlayer::readInfo(QByteArrayView data, Info *info, QString *error)
{
    *info = Info();
    if (data.size() < qsizetype(U_SIZE_EMRHEADER_MIN) ||
        qFromLittleEndian<quint32>(data.data()) != U_EMR_HEADER ||
        qFromLittleEndian<quint32>(data.data() + offsetof(U_EMRHEADER, dSignature)) !=
            U_ENHMETA_SIGNATURE) {
        *error = MetafileErrors::badHeader();
        return false;
    }
    const quint32 headerSize = qFromLittleEndian<quint32>(data.data() + 4);
    if (headerSize < U_SIZE_EMRHEADER_MIN || headerSize > quint64(data.size())) {
        *error = MetafileErrors::badHeader();
        return false;
    }
    U_EMRHEADER header;
    std::memset(&header, 0, sizeof header);
    std::memcpy(&header, data.data(), std::min<size_t>(headerSize, sizeof header));

    const U_RECTL &frame = header.rclFrame;
    const qint64 frameWidth = qint64(frame.right) - frame.left;
    const qint64 frameHeight = qint64(frame.bottom) - frame.top;
    if (frameWidth < 0 || frameHeight < 0) {
        *error = MetafileErrors::noSize();
        return false;
    }
    // The frame is inclusive: 0.01 mm units, right and bottom edges belong to the picture.
    const double width = std::round((frameWidth + 1) * 96.0 / 2540.0);
    const double height = std::round((frameHeight + 1) * 96.0 / 2540.0);
    constexpr double Largest = 1'000'000;
    info->size = QSize(int(std::min(width, Largest)), int(std::min(height, Largest)));
    info->frame = QRect(QPoint(frame.left, frame.top), QPoint(frame.right, frame.bottom));
    if (info->size.isEmpty()) {
        *error = MetafileErrors::noSize();
        return false;
    }

    // Device units per 0.01 mm from the reference device; 96 dpi when the header gives none.
    double perX = 96.0 / 2540.0, perY = 96.0 / 2540.0;
    const bool micrometers = headerSize >= sizeof(U_EMRHEADER) && header.szlMicrometers.cx > 0 &&
                             header.szlMicrometers.cy > 0;
    if (header.szlDevice.cx > 0 && header.szlDevice.cy > 0) {
        if (micrometers) {
            perX = header.szlDevice.cx / (header.szlMicrometers.cx / 10.0);
            perY = header.szlDevice.cy / (header.szlMicrometers.cy / 10.0);
        } else if (header.szlMillimeters.cx > 0 && header.szlMillimeters.cy > 0) {
            perX = header.szlDevice.cx / (header.szlMillimeters.cx * 100.0);
            perY = header.szlDevice.cy / (header.szlMillimeters.cy * 100.0);
        }
    }
    if (!std::isfinite(perX) || !std::isfinite(perY) || perX <= 0 || perY <= 0 || perX > 1e3 ||
        perY > 1e3)
        perX = perY = 96.0 / 2540.0;
    info->devicePerHundredthMmX = perX;
    info->devicePerHundredthMmY = perY;
    info->handleCount = header.nHandles;
    return true;
}

bool EmfPlayer::play(QByteArrayView data, const Info &info, QImage *image, QString *error)
{
    // The whole record stream is checked first, so that a damaged file draws nothing.
    if (!walk(data, error, [](const Record &, const char *) { return true; }))
        return false;

    // The frame, in reference-device units, fills the image.
    const double perX = info.devicePerHundredthMmX, perY = info.devicePerHundredthMmY;
    const double frameWidth = std::max(1.0, double(info.frame.right()) - info.frame.left()) * perX;
    const double frameHeight = std::max(1.0, double(info.frame.bottom()) - info.frame.top()) * perY;
    const QTransform deviceToImage =
        QTransform::fromTranslate(-info.frame.left() * perX, -info.frame.top() * perY) *
        QTransform::fromScale(image->width() / frameWidth, image->height() / frameHeight);
    MetafileCanvas canvas(image, deviceToImage, perX * 2540.0, perY * 2540.0);

    Playback playback(&canvas, info.handleCount);
    bool ok = true;
    walk(data, error, [&](const Record &r, const char *limit) {
        if (!played(r, limit))
            return true;
        ok = playback.play(r) && !canvas.exhausted();
        return ok;
    });
    if (!ok)
        *error = MetafileErrors::tooComplex();
    return ok;
}
