#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>

// Writes Windows Metafiles for the tests, record by record, as the public WMF format document
// lays them out: an optional placeable header, the 18-byte metafile header, records of 16-bit
// words (size, function, parameters in the order the document lists them) and META_EOF.
// Parameters are written in the order of the function's arguments unless the record reverses
// them (most take y before x, bottom-right before top-left).
class WmfWriter
{
public:
    // A placeable file with the given bounding box and logical units per inch.
    static WmfWriter placeable(const QRect &bounds, int unitsPerInch);
    static WmfWriter plain() { return {}; }

    // Any record: function number and the parameter words or bytes as they are in the file.
    void record(quint16 function, const QList<int> &words) { recordBytes(function, of(words)); }
    void recordBytes(quint16 function, const QByteArray &parameters);
    static QByteArray of(const QList<int> &words);

    void setWindowOrg(int x, int y) { record(0x020B, {y, x}); }
    void setWindowExt(int x, int y) { record(0x020C, {y, x}); }
    void setViewportOrg(int x, int y) { record(0x020D, {y, x}); }
    void setViewportExt(int x, int y) { record(0x020E, {y, x}); }
    void setMapMode(int mode) { record(0x0103, {mode}); }
    void saveDC() { record(0x001E, {}); }
    void restoreDC(int which) { record(0x0127, {which}); }
    // The create functions return the object's slot, counting no freed slots.
    int createPen(int style, int width, quint32 colorRef)
    {
        return object(0x02FA, of({style, width, 0, int(colorRef & 0xFFFF), int(colorRef >> 16)}));
    }
    int createBrush(int style, quint32 colorRef, int hatch)
    {
        return object(0x02FC, of({style, int(colorRef & 0xFFFF), int(colorRef >> 16), hatch}));
    }
    int createFont(int height, int weight, bool italic, bool underline, bool strikeOut, int charSet,
                   const QByteArray &face);
    // An empty region: it takes a slot in the object table.
    int createRegion() { return object(0x06FF, of({0, 6, 0, 0, 22, 0, 0, 0, 0, 0, 0})); }
    void selectObject(int index) { record(0x012D, {index}); }
    void deleteObject(int index) { record(0x01F0, {index}); }
    void setTextColor(quint32 c) { record(0x0209, {int(c & 0xFFFF), int(c >> 16)}); }
    void setBkColor(quint32 c) { record(0x0201, {int(c & 0xFFFF), int(c >> 16)}); }
    void setBkMode(int mode) { record(0x0102, {mode, 0}); }
    void setTextAlign(int align) { record(0x012E, {align, 0}); }
    void setPolyFillMode(int mode) { record(0x0106, {mode, 0}); }
    void moveTo(int x, int y) { record(0x0214, {y, x}); }
    void lineTo(int x, int y) { record(0x0213, {y, x}); }
    void rectangle(int l, int t, int r, int b) { record(0x041B, {b, r, t, l}); }
    void roundRect(int l, int t, int r, int b, int w, int h) { record(0x061C, {h, w, b, r, t, l}); }
    void ellipse(int l, int t, int r, int b) { record(0x0418, {b, r, t, l}); }
    void intersectClipRect(int l, int t, int r, int b) { record(0x0416, {b, r, t, l}); }
    void excludeClipRect(int l, int t, int r, int b) { record(0x0415, {b, r, t, l}); }
    // kind: 0x0817 arc, 0x0830 chord, 0x081A pie
    void arc(quint16 kind, const QRect &box, QPoint start, QPoint end)
    {
        record(kind, {end.y(), end.x(), start.y(), start.x(), box.bottom() + 1, box.right() + 1,
                      box.top(), box.left()});
    }
    void polygon(const QList<QPoint> &points)
    {
        record(0x0324, QList<int>{int(points.size())} + xy(points));
    }
    void polyline(const QList<QPoint> &points)
    {
        record(0x0325, QList<int>{int(points.size())} + xy(points));
    }
    void polyPolygon(const QList<QList<QPoint>> &polygons);
    void textOut(int x, int y, const QByteArray &text)
    {
        recordBytes(0x0521, of({int(text.size())}) + padded(text) + of({y, x}));
    }
    void extTextOut(int x, int y, int options, const QRect *rect, const QByteArray &text,
                    const QList<int> &dx);
    void stretchDib(const QRect &dest, const QRect &source, const QByteArray &dib);
    void dibBitBlt(int x, int y, int width, int height, const QByteArray &dib);

    // Appends META_EOF and fills in the header (file size, largest record, object count) and the
    // placeable checksum.
    QByteArray finish() const;

private:
    static QList<int> xy(const QList<QPoint> &points);
    static QByteArray padded(QByteArray bytes) { return bytes.size() % 2 ? bytes + '\0' : bytes; }
    int object(quint16 function, const QByteArray &parameters)
    {
        recordBytes(function, parameters);
        return m_objects++;
    }

    bool m_placeable = false;
    QRect m_bounds;
    int m_unitsPerInch = 1440;
    QByteArray m_body;
    quint32 m_largestRecord = 3;
    int m_objects = 0;
};
