#pragma once

#include "GdiBrush.h"
#include "GdiFont.h"
#include "GdiObject.h"
#include "GdiPen.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>

#include <optional>

// The device context that WMF and EMF records draw through: mapping modes, world transform,
// selected pen, brush and font, text and background settings, clipping, the current position and
// paths, over a QImage. Coordinates given to it are logical; it maps them the way Windows does
// (logical -> world transform -> window/viewport -> device -> image).
//
// Pixel rules follow Windows: a device coordinate names a pixel, Rectangle and Ellipse leave out
// their right and bottom edge, lines leave out their last pixel.
class MetafileCanvas
{
public:
    // A box given by two corners, as metafile records give rectangles.
    struct Box
    {
        double left = 0, top = 0, right = 0, bottom = 0;
    };

    enum class ArcKind
    {
        Arc,
        ArcTo,
        Chord,
        Pie
    };

    // deviceToImage maps the metafile's device units to image pixels; deviceDpi is the device's
    // resolution, used by the metric and English mapping modes.
    MetafileCanvas(QImage *image, const QTransform &deviceToImage, double deviceDpiX,
                   double deviceDpiY);
    ~MetafileCanvas();
    MetafileCanvas(const MetafileCanvas &) = delete;
    MetafileCanvas &operator=(const MetafileCanvas &) = delete;

    // True once the drawing has covered the picture more often than MetafileLimits allows;
    // playback then stops.
    bool exhausted() const { return m_painted > m_paintLimit; }

    // Mapping. Values that Windows refuses (a zero extent, a singular transform) are ignored.
    void setMapMode(int mode);
    int mapMode() const { return m_state.mapMode; }
    void setWindowOrg(QPointF org);
    void setWindowExt(double cx, double cy);
    void setViewportOrg(QPointF org);
    void setViewportExt(double cx, double cy);
    void offsetWindowOrg(QPointF delta);
    void offsetViewportOrg(QPointF delta);
    void scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void setWorldTransform(const QTransform &xform);
    void modifyWorldTransform(const QTransform &xform, int mode);

    void saveDC();
    void restoreDC(int which);

    // Selection and attributes.
    void selectPen(const GdiPen &pen) { m_state.pen = pen; }
    void selectBrush(const GdiBrush &brush) { m_state.brush = brush; }
    void selectFont(const GdiFont &font) { m_state.font = font; }
    // Selects a pen, brush or font from an object table; other objects change nothing.
    void selectObject(const GdiObject &object);
    const GdiFont &font() const { return m_state.font; }
    void setTextColor(QRgb color) { m_state.textColor = color; }
    void setBkColor(QRgb color) { m_state.bkColor = color; }
    void setBkMode(int mode) { m_state.bkMode = mode; }
    void setTextAlign(quint32 align) { m_state.textAlign = align; }
    void setPolyFillMode(int mode) { m_state.polyFillMode = mode; }
    void setRop2(int rop) { m_state.rop2 = rop; }
    void setStretchBltMode(int mode) { m_state.stretchMode = mode; }
    void setArcDirection(int direction) { m_state.arcDirection = direction; }
    void setMiterLimit(double limit);
    void setTextCharExtra(double extra) { m_state.charExtra = extra; }

    // Lines and shapes.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void rectangle(const Box &box);
    void roundRect(const Box &box, double cornerWidth, double cornerHeight);
    void ellipse(const Box &box);
    void arc(ArcKind kind, const Box &box, QPointF start, QPointF end);
    void angleArc(QPointF center, double radius, double startDegrees, double sweepDegrees);
    void polygon(const QPolygonF &points);
    void polyline(const QPolygonF &points);
    void polylineTo(const QPolygonF &points);
    void polyPolygon(const QList<QPolygonF> &polygons);
    void polyPolyline(const QList<QPolygonF> &polylines);
    void polyBezier(const QPolygonF &points);
    void polyBezierTo(const QPolygonF &points);
    void setPixel(QPointF p, QRgb color);

    // Text. advances holds one logical advance per UTF-16 unit of text (empty: the font's own);
    // box is the ETO_OPAQUE / ETO_CLIPPED rectangle.
    void textOut(QPointF reference, const QString &text, const QList<double> &advances,
                 quint32 options, const std::optional<Box> &box);

    // Bitmaps. source is in the image's top-down pixel coordinates; rop is a ternary raster
    // operation. A null image draws with the brush alone (PatBlt).
    void drawImage(const Box &dest, const QImage &image, const QRectF &source, quint32 rop);
    void patBlt(const Box &dest, quint32 rop);

    // Clipping. Regions in device units come from EMF region records.
    void intersectClipRect(const Box &box);
    void excludeClipRect(const Box &box);
    void offsetClip(QPointF delta);
    void selectClipRegion(const QList<QRect> &deviceRects, int mode);
    void fillRegion(const QList<QRect> &deviceRects, const GdiBrush &brush);

    // Paths.
    void beginPath();
    void endPath();
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(int mode);

private:
    struct State
    {
        int mapMode = 1; // MM_TEXT
        QPointF windowOrg, viewportOrg;
        double windowExtX = 1, windowExtY = 1, viewportExtX = 1, viewportExtY = 1;
        QTransform world;
        GdiPen pen;
        GdiBrush brush;
        GdiFont font;
        QRgb textColor = qRgb(0, 0, 0);
        QRgb bkColor = qRgb(255, 255, 255);
        int bkMode = 2; // OPAQUE
        quint32 textAlign = 0;
        int polyFillMode = 1; // ALTERNATE
        int rop2 = 13;        // R2_COPYPEN
        int stretchMode = 1;  // BLACKONWHITE
        int arcDirection = 1; // AD_COUNTERCLOCKWISE
        double miterLimit = 10;
        double charExtra = 0;
        QPointF position;
        std::optional<QRegion> clip; // image pixels; none means the whole image
    };

    void updateTransform();
    void setOrigin(QPointF *origin, QPointF org);
    void setExtent(double *extX, double *extY, double cx, double cy);
    void chargeArea(const QRectF &imageArea);
    QPointF toImage(QPointF logical) const;
    QPainterPath toImage(const QPainterPath &logical) const;
    bool axisAligned() const;
    QRectF boxInImage(const Box &box, bool shrink) const;
    QRectF frameInImage(const Box &box) const;
    double lineScale() const;
    QPen devicePen() const;
    QBrush deviceBrush(const GdiBrush &brush) const;
    Qt::FillRule fillRule() const;
    bool prepare(bool usesPen);
    void drawShape(const QPainterPath &imagePath, bool fill, bool stroke);
    void strokeOpen(const QPainterPath &imagePath);
    void continuePath(const QPainterPath &imagePath);
    void moveToImagePoint(QPointF imagePoint);
    void addPolyline(QPainterPath *path, const QPolygonF &points, bool close) const;
    std::optional<QPainterPath> takePath();
    void combineClip(const QRegion &region, int mode);
    QRegion deviceRegion(const QList<QRect> &deviceRects) const;
    QPainterPath arcPath(ArcKind kind, const Box &box, QPointF start, QPointF end,
                         QPointF *arcStart, QPointF *arcEnd) const;
    QFont qtFont(double *scaleX, double *scaleY, double *angle) const;

    QImage *m_image;
    QPainter m_painter;
    QTransform m_deviceToImage;
    double m_dpiX, m_dpiY;
    State m_state;
    QList<State> m_saved;
    QTransform m_toImage; // logical to image, pixel edges
    qint64 m_painted = 0;
    qint64 m_paintLimit = 0;
    bool m_inPath = false;
    QPainterPath m_path; // image coordinates
    bool m_pathReady = false;
};
