#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

// Writes Enhanced Metafiles for the tests as the public EMF format document lays them out:
// EMR_HEADER with a 96 dpi reference device, records of 32-bit fields, EMR_EOF.
class EmfWriter
{
public:
    // A picture of the given pixel size; the frame (0.01 mm) is computed from it at 96 dpi.
    explicit EmfWriter(QSize pixels)
        : m_bounds(QPoint(0, 0), pixels),
          m_frame(QPoint(0, 0), QPoint(pixels.width() * 2540 / 96, pixels.height() * 2540 / 96))
    {}
    // A picture with the frame given in 0.01 mm as it is written in the header.
    static EmfWriter withFrame(const QRect &frame)
    {
        EmfWriter writer(QSize(1, 1));
        writer.m_frame = frame;
        return writer;
    }

    // Any record: type and the bytes after the 8-byte record head (padded to 4 bytes).
    void record(quint32 type, const QByteArray &payload);
    static QByteArray ints(const QList<qint32> &values);
    static QByteArray floats(const QList<float> &values);

    void setMapMode(int mode) { record(17, ints({mode})); }
    void setWindowExt(int x, int y) { record(9, ints({x, y})); }
    void setViewportOrg(int x, int y) { record(12, ints({x, y})); }
    void setViewportExt(int x, int y) { record(11, ints({x, y})); }
    void saveDC() { record(33, {}); }
    void restoreDC(int which) { record(34, ints({which})); }
    void setWorldTransform(const QList<float> &m) { record(35, floats(m)); }
    void modifyWorldTransform(const QList<float> &m, int mode)
    {
        record(36, floats(m) + ints({mode}));
    }
    // The create functions return the object's handle, counted from 1.
    int createPen(int style, int width, quint32 colorRef)
    {
        record(38, ints({m_handles, style, width, 0, qint32(colorRef)}));
        return m_handles++;
    }
    int createBrush(int style, quint32 colorRef, int hatch)
    {
        record(39, ints({m_handles, style, qint32(colorRef), hatch}));
        return m_handles++;
    }
    int createFont(int height, int weight, bool italic, bool underline, bool strikeOut, int charSet,
                   const QString &face);
    void selectObject(quint32 handle) { record(37, ints({qint32(handle)})); }
    void deleteObject(int handle) { record(40, ints({handle})); }
    void setTextColor(quint32 colorRef) { record(24, ints({qint32(colorRef)})); }
    void setBkMode(int mode) { record(18, ints({mode})); }
    void setTextAlign(int align) { record(22, ints({align})); }
    void moveTo(int x, int y) { record(27, ints({x, y})); }
    void lineTo(int x, int y) { record(54, ints({x, y})); }
    void rectangle(const QRect &box) { record(43, rect(box)); }
    void roundRect(const QRect &box, int w, int h) { record(44, rect(box) + ints({w, h})); }
    void ellipse(const QRect &box) { record(42, rect(box)); }
    // type: 45 arc, 46 chord, 47 pie
    void arc(quint32 type, const QRect &box, QPoint start, QPoint end)
    {
        record(type, rect(box) + ints({start.x(), start.y(), end.x(), end.y()}));
    }
    // type: 2 PolyBezier, 3 Polygon, 4 Polyline, 5 PolyBezierTo, 6 PolylineTo (32-bit points),
    // add 83 for the 16-bit forms.
    void poly(quint32 type, const QList<QPoint> &points);
    void polyPolygon(const QList<QList<QPoint>> &polygons);
    void extTextOutW(int x, int y, const QString &text, const QList<qint32> &dx = {});
    void intersectClipRect(const QRect &box) { record(30, rect(box)); }
    void resetClip() { record(75, ints({0, 5})); } // RGN_COPY with no region
    void beginPath() { record(59, {}); }
    void endPath() { record(60, {}); }
    void fillPath() { record(62, rect(m_bounds)); }
    void stretchDIBits(const QRect &dest, const QRect &source, const QByteArray &dib);
    void bitBlt(const QRect &dest, QPoint source, const QByteArray &dib);

    QByteArray finish() const;

private:
    // RECTL: right and bottom outside the box, as the drawing functions take them.
    static QByteArray rect(const QRect &r)
    {
        return ints({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    }

    QRect m_bounds;
    QRect m_frame;
    QByteArray m_body;
    int m_records = 1;
    int m_handles = 1;
};
