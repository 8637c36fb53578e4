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
    explicit EmfWriter(QSize pixels);
    // A picture with the frame given in 0.01 mm as it is written in the header.
    static EmfWriter withFrame(const QRect &frame);

    // Any record: type and the bytes after the 8-byte record head (padded to 4 bytes).
    void record(quint32 type, const QByteArray &payload);

    static QByteArray ints(const QList<qint32> &values);

    void setMapMode(int mode);
    void setWindowOrg(int x, int y);
    void setWindowExt(int x, int y);
    void setViewportOrg(int x, int y);
    void setViewportExt(int x, int y);
    void saveDC();
    void restoreDC(int which);
    void setWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy);
    void modifyWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy,
                              int mode);
    void createPen(int handle, int style, int width, quint32 colorRef);
    void createBrush(int handle, int style, quint32 colorRef, int hatch);
    void createFont(int handle, int height, int weight, bool italic, bool underline, bool strikeOut,
                    int charSet, const QString &face);
    void selectObject(quint32 handle);
    void deleteObject(int handle);
    void setTextColor(quint32 colorRef);
    void setBkColor(quint32 colorRef);
    void setBkMode(int mode);
    void setTextAlign(int align);
    void setPolyFillMode(int mode);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void rectangle(const QRect &box);
    void roundRect(const QRect &box, int width, int height);
    void ellipse(const QRect &box);
    // type: 45 arc, 46 chord, 47 pie
    void arc(quint32 type, const QRect &box, QPoint start, QPoint end);
    // type: 2 PolyBezier, 3 Polygon, 4 Polyline, 5 PolyBezierTo, 6 PolylineTo (32-bit points),
    // add 83 for the 16-bit forms.
    void poly(quint32 type, const QList<QPoint> &points);
    void polyPolygon(const QList<QList<QPoint>> &polygons);
    void extTextOutW(int x, int y, int options, const QRect &rect, const QString &text,
                     const QList<qint32> &dx);
    void intersectClipRect(const QRect &box);
    void resetClip();
    void beginPath();
    void endPath();
    void fillPath();
    void stretchDIBits(const QRect &dest, const QRect &source, const QByteArray &dib);
    void bitBlt(const QRect &dest, QPoint source, const QByteArray &dib);

    QByteArray finish() const;

private:
    QRect m_bounds;
    QRect m_frame;
    QByteArray m_body;
    int m_records = 1;
    int m_handles = 1;
};
