#include "WmfPlayer.h"

#include "DibDecoder.h"
#include "GdiObject.h"
#include "MetafileCanvas.h"
#include "MetafileErrors.h"
#include "MetafileLimits.h"
#include "MetafileText.h"

#include <uwmf.h>

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

// The header is nine 16-bit words.
constexpr int HeaderWords = U_SIZE_WMRHEADER / 2;

// One record: its bytes (size from the record itself, already checked against the data) and
// bounded readers for its parameters, counted in 16-bit words after the 6-byte record head.
// Reading past the record gives 0, but callers check has() first.
struct Record
{
    const char *data = nullptr;
    qsizetype size = 0;

    int type() const { return uchar(data[4]); }
    bool has(qsizetype words) const { return size >= U_SIZE_METARECORD + 2 * words; }
    qint16 i16(qsizetype word) const
    {
        const qsizetype at = U_SIZE_METARECORD + 2 * word;
        return at + 2 <= size ? qFromLittleEndian<qint16>(data + at) : 0;
    }
    quint16 u16(qsizetype word) const { return quint16(i16(word)); }
    quint32 u32(qsizetype word) const
    {
        const qsizetype at = U_SIZE_METARECORD + 2 * word;
        return at + 4 <= size ? qFromLittleEndian<quint32>(data + at) : 0;
    }
    QPointF point(qsizetype word) const { return QPointF(i16(word), i16(word + 1)); }
    // Many records give coordinates y first.
    QPointF pointYX(qsizetype word) const { return QPointF(i16(word + 1), i16(word)); }
    // Bytes from a word offset to the end of the record.
    QByteArrayView tail(qsizetype word) const
    {
        const qsizetype at = U_SIZE_METARECORD + 2 * word;
        return at <= size ? QByteArrayView(data + at, size - at) : QByteArrayView();
    }
};

QRgb colorOf(quint32 colorRef)
{
    if ((colorRef >> 24) == 0x01) // a palette index: the default palette starts with black
        return qRgb(0, 0, 0);
    return qRgb(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

// Walks the record frames from the first record to the end-of-file record, checking that each
// one lies inside the data. Calls visit(record) for each record before EOF; visit returns false
// to stop early.
template <typename Visit>
bool walk(QByteArrayView data, qsizetype first, QString *error, Visit visit)
{
    qsizetype pos = first;
    qint64 count = 0;
    const char *limit = data.data() + data.size();
    while (true) {
        if (pos + U_SIZE_METARECORD > data.size()) {
            *error = MetafileErrors::noEndRecord();
            return false;
        }
        const char *at = data.data() + pos;
        const size_t size = U_WMRRECSAFE_get(at, limit);
        if (size == 0) {
            *error = MetafileErrors::damagedRecord(pos);
            return false;
        }
        Record record{at, qsizetype(size)};
        if (record.type() == U_WMR_EOF)
            return true;
        if (++count > MetafileLimits::MaxRecords) {
            *error = MetafileErrors::tooComplex();
            return false;
        }
        if (!visit(record))
            return true;
        pos += qsizetype(size);
    }
}

class Playback
{
public:
    Playback(MetafileCanvas *canvas, int objectCount) : m_canvas(canvas)
    {
        m_objects.resize(std::clamp(objectCount, 0, MetafileLimits::MaxObjects));
    }

    // False when the work budget is spent.
    bool play(const Record &r);

private:
    void addObject(const GdiObject &object);
    void selectObject(quint16 index);
    void deleteObject(quint16 index);
    GdiFont readFont(const Record &r) const;
    void text(QPointF at, QByteArrayView bytes, const QList<double> &byteAdvances, quint16 options,
              const std::optional<MetafileCanvas::Box> &box);
    QPolygonF points(const Record &r, qsizetype word, qsizetype count) const;
    void blit(const MetafileCanvas::Box &dest, QByteArrayView dib, quint32 usage, QRectF source,
              bool sourceBottomUp, quint32 rop);
    bool charge(qint64 units)
    {
        m_work += units;
        return m_work <= MetafileLimits::MaxWork;
    }

    MetafileCanvas *m_canvas;
    QList<GdiObject> m_objects;
    qint64 m_work = 0;
};

MetafileCanvas::Box boxLTRB(const Record &r, qsizetype word)
{
    // Parameters in reverse order: bottom, right, top, left.
    return {double(r.i16(word + 3)), double(r.i16(word + 2)), double(r.i16(word + 1)),
            double(r.i16(word))};
}

void Playback::addObject(const GdiObject &object)
{
    for (GdiObject &slot : m_objects) {
        if (slot.kind == GdiObject::Kind::Empty) {
            slot = object;
            return;
        }
    }
    // Some writers count their objects short; the table grows as Windows' would not refuse.
    if (m_objects.size() < MetafileLimits::MaxObjects)
        m_objects.append(object);
}

void Playback::selectObject(quint16 index)
{
    if (index >= m_objects.size())
        return;
    m_canvas->selectObject(m_objects.at(index));
}

void Playback::deleteObject(quint16 index)
{
    if (index < m_objects.size())
        m_objects[index] = GdiObject();
}

GdiFont Playback::readFont(const Record &r) const
{
    GdiFont font;
    font.height = r.i16(0);
    font.width = r.i16(1);
    font.escapement = r.i16(2);
    font.weight = r.i16(4);
    const QByteArrayView bytes = r.tail(5);
    font.italic = bytes.size() > 0 && bytes[0];
    font.underline = bytes.size() > 1 && bytes[1];
    font.strikeOut = bytes.size() > 2 && bytes[2];
    font.charSet = bytes.size() > 3 ? uchar(bytes[3]) : 1;
    font.pitchAndFamily = bytes.size() > 7 ? uchar(bytes[7]) : 0;
    if (bytes.size() > 8) {
        QByteArrayView face = bytes.sliced(8).first(std::min<qsizetype>(bytes.size() - 8, 32));
        const qsizetype end = face.indexOf('\0');
        if (end >= 0)
            face = face.first(end);
        font.face = MetafileText::decode(face, font.charSet);
    }
    return font;
}

QPolygonF Playback::points(const Record &r, qsizetype word, qsizetype count) const
{
    QPolygonF polygon;
    polygon.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        polygon.append(r.point(word + 2 * i));
    return polygon;
}

void Playback::text(QPointF at, QByteArrayView bytes, const QList<double> &byteAdvances,
                    quint16 options, const std::optional<MetafileCanvas::Box> &box)
{
    QList<double> advances;
    const QString string =
        MetafileText::decode(bytes, m_canvas->font().charSet, byteAdvances, &advances);
    if (byteAdvances.isEmpty())
        advances.clear();
    m_canvas->textOut(at, string, advances, options, box);
}

void Playback::blit(const MetafileCanvas::Box &dest, QByteArrayView dib, quint32 usage,
                    QRectF source, bool sourceBottomUp, quint32 rop)
{
    int width = 0, height = 0;
    if (!DibDecoder::dimensions(dib, &width, &height))
        return;
    if (!charge(qint64(width) * std::abs(height) / 64))
        return;
    const QImage image = DibDecoder::decodePacked(dib, usage);
    if (image.isNull())
        return;
    // Source rectangles of DIB records count rows from the bottom of a bottom-up bitmap.
    if (sourceBottomUp && height > 0)
        source.moveTop(image.height() - source.bottom());
    m_canvas->drawImage(dest, image, source, rop);
}

bool Playback::play(const Record &r)
{
    using Box = MetafileCanvas::Box;
    if (!charge(1))
        return false;
    switch (r.type()) {
    case U_WMR_SETBKCOLOR:
        if (r.has(2))
            m_canvas->setBkColor(colorOf(r.u32(0)));
        break;
    case U_WMR_SETBKMODE:
        if (r.has(1))
            m_canvas->setBkMode(r.u16(0));
        break;
    case U_WMR_SETMAPMODE:
        if (r.has(1))
            m_canvas->setMapMode(r.u16(0));
        break;
    case U_WMR_SETROP2:
        if (r.has(1))
            m_canvas->setRop2(r.u16(0));
        break;
    case U_WMR_SETPOLYFILLMODE:
        if (r.has(1))
            m_canvas->setPolyFillMode(r.u16(0));
        break;
    case U_WMR_SETSTRETCHBLTMODE:
        if (r.has(1))
            m_canvas->setStretchBltMode(r.u16(0));
        break;
    case U_WMR_SETTEXTCHAREXTRA:
        if (r.has(1))
            m_canvas->setTextCharExtra(r.i16(0));
        break;
    case U_WMR_SETTEXTCOLOR:
        if (r.has(2))
            m_canvas->setTextColor(colorOf(r.u32(0)));
        break;
    case U_WMR_SETTEXTALIGN:
        if (r.has(1))
            m_canvas->setTextAlign(r.u16(0));
        break;
    case U_WMR_SETWINDOWORG:
        if (r.has(2))
            m_canvas->setWindowOrg(r.pointYX(0));
        break;
    case U_WMR_SETWINDOWEXT:
        if (r.has(2))
            m_canvas->setWindowExt(r.i16(1), r.i16(0));
        break;
    case U_WMR_SETVIEWPORTORG:
        if (r.has(2))
            m_canvas->setViewportOrg(r.pointYX(0));
        break;
    case U_WMR_SETVIEWPORTEXT:
        if (r.has(2))
            m_canvas->setViewportExt(r.i16(1), r.i16(0));
        break;
    case U_WMR_OFFSETWINDOWORG:
        if (r.has(2))
            m_canvas->offsetWindowOrg(r.pointYX(0));
        break;
    case U_WMR_OFFSETVIEWPORTORG:
        if (r.has(2))
            m_canvas->offsetViewportOrg(r.pointYX(0));
        break;
    case U_WMR_SCALEWINDOWEXT:
        if (r.has(4))
            m_canvas->scaleWindowExt(r.i16(3), r.i16(2), r.i16(1), r.i16(0));
        break;
    case U_WMR_SCALEVIEWPORTEXT:
        if (r.has(4))
            m_canvas->scaleViewportExt(r.i16(3), r.i16(2), r.i16(1), r.i16(0));
        break;
    case U_WMR_LINETO:
        if (r.has(2))
            m_canvas->lineTo(r.pointYX(0));
        break;
    case U_WMR_MOVETO:
        if (r.has(2))
            m_canvas->moveTo(r.pointYX(0));
        break;
    case U_WMR_EXCLUDECLIPRECT:
        if (r.has(4))
            m_canvas->excludeClipRect(boxLTRB(r, 0));
        break;
    case U_WMR_INTERSECTCLIPRECT:
        if (r.has(4))
            m_canvas->intersectClipRect(boxLTRB(r, 0));
        break;
    case U_WMR_ARC:
    case U_WMR_PIE:
    case U_WMR_CHORD:
        if (r.has(8)) {
            const auto kind = r.type() == U_WMR_ARC   ? MetafileCanvas::ArcKind::Arc
                              : r.type() == U_WMR_PIE ? MetafileCanvas::ArcKind::Pie
                                                      : MetafileCanvas::ArcKind::Chord;
            m_canvas->arc(kind, boxLTRB(r, 4), r.pointYX(2), r.pointYX(0));
        }
        break;
    case U_WMR_ELLIPSE:
        if (r.has(4))
            m_canvas->ellipse(boxLTRB(r, 0));
        break;
    case U_WMR_RECTANGLE:
        if (r.has(4))
            m_canvas->rectangle(boxLTRB(r, 0));
        break;
    case U_WMR_ROUNDRECT:
        if (r.has(6))
            m_canvas->roundRect(boxLTRB(r, 2), r.i16(1), r.i16(0));
        break;
    case U_WMR_PATBLT:
        if (r.has(6)) {
            const double x = r.i16(5), y = r.i16(4), w = r.i16(3), h = r.i16(2);
            m_canvas->patBlt(Box{x, y, x + w, y + h}, r.u32(0));
        }
        break;
    case U_WMR_SAVEDC:
        m_canvas->saveDC();
        break;
    case U_WMR_RESTOREDC:
        if (r.has(1))
            m_canvas->restoreDC(r.i16(0));
        break;
    case U_WMR_SETPIXEL:
        if (r.has(4))
            m_canvas->setPixel(r.pointYX(2), colorOf(r.u32(0)));
        break;
    case U_WMR_OFFSETCLIPRGN:
        if (r.has(2))
            m_canvas->offsetClip(r.pointYX(0));
        break;
    case U_WMR_TEXTOUT:
        if (r.has(1)) {
            const qsizetype length = std::max<qint16>(r.i16(0), 0);
            const qsizetype padded = (length + 1) / 2;
            if (!r.has(1 + padded + 2) || !charge(length))
                break;
            const QPointF at = r.pointYX(1 + padded);
            text(at, r.tail(1).first(length), {}, 0, std::nullopt);
        }
        break;
    case U_WMR_EXTTEXTOUT:
        if (r.has(4)) {
            const QPointF at = r.pointYX(0);
            const qsizetype length = std::max<qint16>(r.i16(2), 0);
            const quint16 options = r.u16(3);
            qsizetype word = 4;
            std::optional<Box> box;
            if (options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) {
                if (!r.has(8))
                    break;
                box = Box{double(r.i16(4)), double(r.i16(5)), double(r.i16(6)), double(r.i16(7))};
                word = 8;
            }
            const qsizetype padded = (length + 1) / 2;
            if (!r.has(word + padded) || !charge(length))
                break;
            QList<double> advances;
            if (r.has(word + padded + length)) {
                advances.reserve(length);
                for (qsizetype i = 0; i < length; ++i)
                    advances.append(r.i16(word + padded + i));
            }
            text(at, r.tail(word).first(length), advances, options, box);
        }
        break;
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE:
        if (r.has(1)) {
            const qsizetype count = std::max<qint16>(r.i16(0), 0);
            if (!r.has(1 + 2 * count) || !charge(count))
                break;
            const QPolygonF polygon = points(r, 1, count);
            if (r.type() == U_WMR_POLYGON)
                m_canvas->polygon(polygon);
            else
                m_canvas->polyline(polygon);
        }
        break;
    case U_WMR_POLYPOLYGON:
        if (r.has(1)) {
            const qsizetype polygons = r.u16(0);
            if (!r.has(1 + polygons))
                break;
            qint64 total = 0;
            for (qsizetype i = 0; i < polygons; ++i)
                total += r.u16(1 + i);
            if (!r.has(1 + polygons + 2 * total) || !charge(total + polygons))
                break;
            QList<QPolygonF> list;
            qsizetype word = 1 + polygons;
            for (qsizetype i = 0; i < polygons; ++i) {
                const qsizetype count = r.u16(1 + i);
                list.append(points(r, word, count));
                word += 2 * count;
            }
            m_canvas->polyPolygon(list);
        }
        break;
    case U_WMR_SELECTOBJECT:
        if (r.has(1))
            selectObject(r.u16(0));
        break;
    case U_WMR_SELECTCLIPREGION:
        // Region objects are not kept; selecting one gives back the whole picture.
        m_canvas->selectClipRegion({}, U_RGN_COPY);
        break;
    case U_WMR_DELETEOBJECT:
        if (r.has(1))
            deleteObject(r.u16(0));
        break;
    case U_WMR_BITBLT:
        // Only the form without a bitmap (a pattern fill) is drawn; device-dependent bitmaps are
        // not.
        if (r.size == U_SIZE_WMRBITBLT_NOPX) {
            const double x = r.i16(8), y = r.i16(7), w = r.i16(6), h = r.i16(5);
            m_canvas->patBlt(Box{x, y, x + w, y + h}, r.u32(0));
        }
        break;
    case U_WMR_STRETCHBLT:
        if (r.size == U_SIZE_WMRSTRETCHBLT_NOPX) { // a reserved word before the destination
            const double x = r.i16(10), y = r.i16(9), w = r.i16(8), h = r.i16(7);
            m_canvas->patBlt(Box{x, y, x + w, y + h}, r.u32(0));
        }
        break;
    case U_WMR_DIBBITBLT:
        if (r.size == U_SIZE_METARECORD + 2 * 9) {
            const double x = r.i16(8), y = r.i16(7), w = r.i16(6), h = r.i16(5);
            m_canvas->patBlt(Box{x, y, x + w, y + h}, r.u32(0));
        } else if (r.has(8)) {
            const double x = r.i16(7), y = r.i16(6), w = r.i16(5), h = r.i16(4);
            const QRectF source(r.i16(3), r.i16(2), w, h);
            blit(Box{x, y, x + w, y + h}, r.tail(8), U_DIB_RGB_COLORS, source, false, r.u32(0));
        }
        break;
    case U_WMR_DIBSTRETCHBLT:
        if (r.size == U_SIZE_METARECORD + 2 * 11) {
            const double x = r.i16(10), y = r.i16(9), w = r.i16(8), h = r.i16(7);
            m_canvas->patBlt(Box{x, y, x + w, y + h}, r.u32(0));
        } else if (r.has(10)) {
            const double x = r.i16(9), y = r.i16(8), w = r.i16(7), h = r.i16(6);
            const QRectF source(r.i16(5), r.i16(4), r.i16(3), r.i16(2));
            blit(Box{x, y, x + w, y + h}, r.tail(10), U_DIB_RGB_COLORS, source, false, r.u32(0));
        }
        break;
    case U_WMR_STRETCHDIB:
        if (r.has(11)) {
            const double x = r.i16(10), y = r.i16(9), w = r.i16(8), h = r.i16(7);
            const QRectF source(r.i16(6), r.i16(5), r.i16(4), r.i16(3));
            blit(Box{x, y, x + w, y + h}, r.tail(11), r.u16(2), source, true, r.u32(0));
        }
        break;
    case U_WMR_SETDIBTODEV:
        if (r.has(9)) {
            const double x = r.i16(8), y = r.i16(7), w = r.i16(6), h = r.i16(5);
            const QRectF source(r.i16(4), r.i16(3), w, h);
            blit(Box{x, y, x + w, y + h}, r.tail(9), r.u16(0), source, true, U_SRCCOPY);
        }
        break;
    case U_WMR_CREATEPENINDIRECT:
        if (r.has(5)) {
            GdiObject object;
            object.kind = GdiObject::Kind::Pen;
            object.pen.style = r.u16(0);
            object.pen.width = std::abs(r.i16(1));
            object.pen.color = colorOf(r.u32(3));
            addObject(object);
        } else {
            addObject(GdiObject{GdiObject::Kind::Other, {}, {}, {}});
        }
        break;
    case U_WMR_CREATEBRUSHINDIRECT:
        if (r.has(4)) {
            GdiObject object;
            object.kind = GdiObject::Kind::Brush;
            object.brush.style = r.u16(0);
            object.brush.color = colorOf(r.u32(1));
            object.brush.hatch = r.u16(3);
            addObject(object);
        } else {
            addObject(GdiObject{GdiObject::Kind::Other, {}, {}, {}});
        }
        break;
    case U_WMR_DIBCREATEPATTERNBRUSH: {
        GdiObject object;
        object.kind = GdiObject::Kind::Brush;
        object.brush.style = U_BS_DIBPATTERNPT;
        object.brush.color = qRgb(0, 0, 0);
        if (r.has(2) && r.u16(0) != U_BS_PATTERN) {
            int width = 0, height = 0;
            if (DibDecoder::dimensions(r.tail(2), &width, &height) &&
                charge(qint64(width) * std::abs(height) / 64))
                object.brush.pattern = DibDecoder::decodePacked(r.tail(2), r.u16(1));
        }
        addObject(object);
        break;
    }
    case U_WMR_CREATEFONTINDIRECT:
        if (r.has(9)) {
            GdiObject object;
            object.kind = GdiObject::Kind::Font;
            object.font = readFont(r);
            addObject(object);
        } else {
            addObject(GdiObject{GdiObject::Kind::Other, {}, {}, {}});
        }
        break;
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_CREATEREGION:
    case U_WMR_CREATEBITMAPINDIRECT:
    case U_WMR_CREATEBITMAP:
        addObject(GdiObject{GdiObject::Kind::Other, {}, {}, {}});
        break;
    default:
        break; // records without effect on the picture, and unknown ones
    }
    return m_work <= MetafileLimits::MaxWork;
}

} // namespace

bool WmfPlayer::readInfo(QByteArrayView data, Info *info, QString *error)
{
    *info = Info();
    qsizetype headerAt = 0;
    if (data.size() >= 4 && qFromLittleEndian<quint32>(data.data()) == WmfPlayer::PlaceableKey) {
        if (data.size() < U_SIZE_WMRPLACEABLE) {
            *error = MetafileErrors::badHeader();
            return false;
        }
        U_WMRPLACEABLE placeable;
        std::memcpy(&placeable, data.data(), U_SIZE_WMRPLACEABLE);
        info->placeable = true;
        info->bounds = QRect(QPoint(placeable.Dst.left, placeable.Dst.top),
                             QPoint(placeable.Dst.right - 1, placeable.Dst.bottom - 1));
        if (placeable.Inch == 0) {
            *error = MetafileErrors::noSize();
            return false;
        }
        const double width =
            std::abs(placeable.Dst.right - placeable.Dst.left) * 96.0 / placeable.Inch;
        const double height =
            std::abs(placeable.Dst.bottom - placeable.Dst.top) * 96.0 / placeable.Inch;
        info->size = QSize(int(std::lround(width)), int(std::lround(height)));
        headerAt = U_SIZE_WMRPLACEABLE;
    }

    if (data.size() < headerAt + U_SIZE_WMRHEADER) {
        *error = MetafileErrors::badHeader();
        return false;
    }
    U_WMRHEADER header;
    std::memcpy(&header, data.data() + headerAt, U_SIZE_WMRHEADER);
    const quint16 type = quint16(header.iType | (header.xb << 8));
    if ((type != U_MEMORYMETAFILE && type != U_DISKMETAFILE) || header.Size16w != HeaderWords) {
        *error = MetafileErrors::badHeader();
        return false;
    }
    info->objectCount = header.nObjects;
    info->firstRecord = headerAt + 2 * HeaderWords;

    if (!info->placeable) {
        // The size of a plain WMF is its first window extent.
        bool found = false;
        QString walkError;
        walk(data, info->firstRecord, &walkError, [&](const Record &r) {
            if (r.type() == U_WMR_SETWINDOWEXT && r.has(2)) {
                info->windowExt = QPoint(r.i16(1), r.i16(0));
                found = true;
                return false;
            }
            return true;
        });
        if (!found) {
            *error = walkError.isEmpty() ? MetafileErrors::noSize() : walkError;
            return false;
        }
        info->size = QSize(std::abs(info->windowExt.x()), std::abs(info->windowExt.y()));
    }
    if (info->size.isEmpty()) {
        *error = MetafileErrors::noSize();
        return false;
    }
    return true;
}

bool WmfPlayer::play(QByteArrayView data, const Info &info, QImage *image, QString *error)
{
    // The whole record stream is checked first, so that a damaged file draws nothing.
    if (!walk(data, info.firstRecord, error, [](const Record &) { return true; }))
        return false;

    MetafileCanvas canvas(image, QTransform(), 96, 96);
    // The picture's logical box fills the image; the file's own window records may redefine it.
    canvas.setMapMode(U_MM_ANISOTROPIC);
    if (info.placeable) {
        canvas.setWindowOrg(info.bounds.topLeft());
        canvas.setWindowExt(info.bounds.width(), info.bounds.height());
    } else {
        canvas.setWindowExt(info.windowExt.x(), info.windowExt.y());
    }
    canvas.setViewportExt(image->width(), image->height());

    Playback playback(&canvas, info.objectCount);
    bool ok = true;
    walk(data, info.firstRecord, error, [&](const Record &r) {
        ok = playback.play(r) && !canvas.exhausted();
        return ok;
    });
    if (!ok)
        *error = MetafileErrors::tooComplex();
    return ok;
}
