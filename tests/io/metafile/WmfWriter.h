#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>

// Writes Windows Metafiles for the tests, record by record, as the public WMF format document
// lays them out: an optional placeable header, the 18-byte metafile header, records of 16-bit
// words (size, function, parameters in the order the document lists them) and META_EOF.
class WmfWriter
{
public:
    // A placeable file with the given bounding box and logical units per inch.
    static WmfWriter placeable(const QRect &bounds, int unitsPerInch);
    // A file without placeable header.
    static WmfWriter plain();

    // Any record: function number and the parameter words as they appear in the file.
    void record(quint16 function, const QList<qint16> &words);
    void recordBytes(quint16 function, const QByteArray &parameters);

    void setWindowOrg(int x, int y);
    void setWindowExt(int x, int y);
    void setViewportOrg(int x, int y);
    void setViewportExt(int x, int y);
    void setMapMode(int mode);
    void saveDC();
    void restoreDC(int which);
    void createPen(int style, int width, quint32 colorRef);
    void createBrush(int style, quint32 colorRef, int hatch);
    void createFont(int height, int weight, bool italic, bool underline, bool strikeOut,
                    int charSet, const QByteArray &face);
    void createRegionPlaceholder();
    void selectObject(int index);
    void deleteObject(int index);
    void setTextColor(quint32 colorRef);
    void setBkColor(quint32 colorRef);
    void setBkMode(int mode);
    void setTextAlign(int align);
    void setPolyFillMode(int mode);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void rectangle(int left, int top, int right, int bottom);
    void roundRect(int left, int top, int right, int bottom, int width, int height);
    void ellipse(int left, int top, int right, int bottom);
    // kind: 0x0817 arc, 0x0830 chord, 0x081A pie
    void arc(quint16 kind, const QRect &box, QPoint start, QPoint end);
    void polygon(const QList<QPoint> &points);
    void polyline(const QList<QPoint> &points);
    void polyPolygon(const QList<QList<QPoint>> &polygons);
    void textOut(int x, int y, const QByteArray &text);
    void extTextOut(int x, int y, int options, const QRect *rect, const QByteArray &text,
                    const QList<qint16> &dx);
    void intersectClipRect(int left, int top, int right, int bottom);
    void excludeClipRect(int left, int top, int right, int bottom);
    void stretchDib(const QRect &dest, const QRect &source, const QByteArray &dib);
    void dibBitBlt(int x, int y, int width, int height, const QByteArray &dib);

    // Appends META_EOF and fills in the header (file size, largest record, object count) and the
    // placeable checksum.
    QByteArray finish() const;

    // Records written so far, EOF not counted.
    qsizetype recordCount() const { return m_records; }

private:
    bool m_placeable = false;
    QRect m_bounds;
    int m_unitsPerInch = 1440;
    QByteArray m_body;
    quint32 m_largestRecord = 0;
    int m_objects = 0;
    qsizetype m_records = 0;
};
