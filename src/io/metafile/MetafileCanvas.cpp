#include "MetafileCanvas.h"

#include "MetafileLimits.h"
#include "MetafileText.h"

#include <uemf.h>

#include <QFontMetricsF>
#include <QLineF>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// ModifyWorldTransform's "set" mode, which libUEMF does not name.
constexpr int MwtSet = 4;

constexpr int MaxSavedStates = 1024;
// Points farther out than this (in image pixels) are pulled in: nothing there is visible, and
// the rasteriser must not see values that overflow its fixed-point arithmetic.
constexpr double CoordinateLimit = 1.0e6;
constexpr double ExtentLimit = 1.0e9;
constexpr int MaxPenWidth = 10000;

double clampCoordinate(double v)
{
    if (!std::isfinite(v))
        return 0;
    return std::clamp(v, -CoordinateLimit, CoordinateLimit);
}

QPointF clampPoint(QPointF p)
{
    return {clampCoordinate(p.x()), clampCoordinate(p.y())};
}

bool usableTransform(const QTransform &t)
{
    const double values[] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
    for (double v : values)
        if (!std::isfinite(v) || std::abs(v) > ExtentLimit)
            return false;
    const double det = t.m11() * t.m22() - t.m12() * t.m21();
    return std::abs(det) > 1e-12;
}

bool usableExtent(double v)
{
    return std::isfinite(v) && v != 0 && std::abs(v) <= ExtentLimit;
}

bool usablePoint(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.x()) <= ExtentLimit &&
           std::abs(p.y()) <= ExtentLimit;
}

QPainter::CompositionMode binaryRasterMode(int rop2)
{
    switch (rop2) {
    case 1:
        return QPainter::RasterOp_ClearDestination;
    case 2:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case 3:
        return QPainter::RasterOp_NotSourceAndDestination;
    case 4:
        return QPainter::RasterOp_NotSource;
    case 5:
        return QPainter::RasterOp_SourceAndNotDestination;
    case 6:
        return QPainter::RasterOp_NotDestination;
    case 7:
        return QPainter::RasterOp_SourceXorDestination;
    case 8:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case 9:
        return QPainter::RasterOp_SourceAndDestination;
    case 10:
        return QPainter::RasterOp_NotSourceXorDestination;
    case 12:
        return QPainter::RasterOp_NotSourceOrDestination;
    case 14:
        return QPainter::RasterOp_SourceOrNotDestination;
    case 15:
        return QPainter::RasterOp_SourceOrDestination;
    case 16:
        return QPainter::RasterOp_SetDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// The ternary raster operation of a blit, reduced to what a painter can do: its index is the
// operation's result for the eight combinations of pattern, source and destination bits.
enum class Blit
{
    Copy,
    Or,
    And,
    Xor,
    NotSource,
    SourceAndNotDestination,
    NotSourceAndNotDestination,
    NotSourceOrDestination,
    Black,
    White,
    InvertDestination,
    Pattern,
    PatternXor,
    Nothing
};

Blit blitOf(quint32 rop)
{
    switch ((rop >> 16) & 0xFF) {
    case 0xCC:
    case 0xC0:
        return Blit::Copy;
    case 0xEE:
        return Blit::Or;
    case 0x88:
        return Blit::And;
    case 0x66:
        return Blit::Xor;
    case 0x33:
        return Blit::NotSource;
    case 0x44:
        return Blit::SourceAndNotDestination;
    case 0x11:
        return Blit::NotSourceAndNotDestination;
    case 0xBB:
        return Blit::NotSourceOrDestination;
    case 0x00:
        return Blit::Black;
    case 0xFF:
        return Blit::White;
    case 0x55:
        return Blit::InvertDestination;
    case 0xF0:
    case 0xFB:
        return Blit::Pattern;
    case 0x5A:
        return Blit::PatternXor;
    case 0xAA:
        return Blit::Nothing;
    default:
        return Blit::Copy;
    }
}

QPainter::CompositionMode blitMode(Blit blit)
{
    switch (blit) {
    case Blit::Or:
        return QPainter::RasterOp_SourceOrDestination;
    case Blit::And:
        return QPainter::RasterOp_SourceAndDestination;
    case Blit::Xor:
    case Blit::PatternXor:
        return QPainter::RasterOp_SourceXorDestination;
    case Blit::NotSource:
        return QPainter::RasterOp_NotSource;
    case Blit::SourceAndNotDestination:
        return QPainter::RasterOp_SourceAndNotDestination;
    case Blit::NotSourceAndNotDestination:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case Blit::NotSourceOrDestination:
        return QPainter::RasterOp_NotSourceOrDestination;
    case Blit::Black:
        return QPainter::RasterOp_ClearDestination;
    case Blit::White:
        return QPainter::RasterOp_SetDestination;
    case Blit::InvertDestination:
        return QPainter::RasterOp_NotDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

bool needsSource(Blit blit)
{
    switch (blit) {
    case Blit::Black:
    case Blit::White:
    case Blit::InvertDestination:
    case Blit::Pattern:
    case Blit::PatternXor:
    case Blit::Nothing:
        return false;
    default:
        return true;
    }
}

Qt::BrushStyle hatchStyle(quint32 hatch)
{
    switch (hatch) {
    case 0:
        return Qt::HorPattern;
    case 1:
        return Qt::VerPattern;
    case 2:
        return Qt::FDiagPattern;
    case 3:
        return Qt::BDiagPattern;
    case 4:
        return Qt::CrossPattern;
    case 5:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

// Angle in degrees (counterclockwise on screen) of the parametric point of an ellipse that the
// ray from its centre through p crosses.
double ellipseAngle(const QRectF &r, QPointF p)
{
    const double rx = std::max(r.width() / 2, 1e-9);
    const double ry = std::max(r.height() / 2, 1e-9);
    const QPointF c = r.center();
    const double a = std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx);
    return a * 180.0 / M_PI;
}

QPointF ellipsePoint(const QRectF &r, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    return {r.center().x() + r.width() / 2 * std::cos(a),
            r.center().y() - r.height() / 2 * std::sin(a)};
}

// The rectangle a box spans, corners as given (not normalised).
QRectF boxRect(const MetafileCanvas::Box &box)
{
    return QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom));
}

// The pixels a rectangle in image coordinates covers, its edges rounded to pixel boundaries.
QRect pixelRect(const QRectF &r)
{
    return QRect(QPoint(int(std::lround(r.left())), int(std::lround(r.top()))),
                 QPoint(int(std::lround(r.right())) - 1, int(std::lround(r.bottom())) - 1));
}

// How many UTF-16 units the character starting at index takes: a surrogate pair counts as one.
qsizetype characterLength(const QString &text, qsizetype index)
{
    return text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
}

} // namespace

MetafileCanvas::MetafileCanvas(QImage *image, const QTransform &deviceToImage, double deviceDpiX,
                               double deviceDpiY)
    : m_image(image), m_painter(image), m_deviceToImage(deviceToImage), m_dpiX(deviceDpiX),
      m_dpiY(deviceDpiY)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Small pictures count as 256 x 256 pixels, so that their text and outlines fit too.
    m_paintLimit = MetafileLimits::MaxPaintedPictures *
                   std::max<qint64>(qint64(image->width()) * image->height(), 65536);
    updateTransform();
}

void MetafileCanvas::chargeArea(const QRectF &imageArea)
{
    const QRectF visible = imageArea.normalized().intersected(QRectF(m_image->rect()));
    m_painted += 16 + qint64(visible.width() * visible.height());
}

MetafileCanvas::~MetafileCanvas()
{
    m_painter.end();
}

// ---- Mapping ----------------------------------------------------------------------------------

void MetafileCanvas::updateTransform()
{
    const State &s = m_state;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case U_MM_LOMETRIC:
        sx = m_dpiX / 254.0;
        sy = -m_dpiY / 254.0;
        break;
    case U_MM_HIMETRIC:
        sx = m_dpiX / 2540.0;
        sy = -m_dpiY / 2540.0;
        break;
    case U_MM_LOENGLISH:
        sx = m_dpiX / 100.0;
        sy = -m_dpiY / 100.0;
        break;
    case U_MM_HIENGLISH:
        sx = m_dpiX / 1000.0;
        sy = -m_dpiY / 1000.0;
        break;
    case U_MM_TWIPS:
        sx = m_dpiX / 1440.0;
        sy = -m_dpiY / 1440.0;
        break;
    case U_MM_ISOTROPIC:
    case U_MM_ANISOTROPIC:
        sx = s.viewportExtX / s.windowExtX;
        sy = s.viewportExtY / s.windowExtY;
        if (s.mapMode == U_MM_ISOTROPIC) {
            const double scale = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(scale, sx);
            sy = std::copysign(scale, sy);
        }
        break;
    default:
        break;
    }
    const QTransform page = QTransform::fromTranslate(-s.windowOrg.x(), -s.windowOrg.y()) *
                            QTransform::fromScale(sx, sy) *
                            QTransform::fromTranslate(s.viewportOrg.x(), s.viewportOrg.y());
    m_toImage = s.world * page * m_deviceToImage;
}

void MetafileCanvas::setMapMode(int mode)
{
    if (mode < U_MM_TEXT || mode > U_MM_ANISOTROPIC)
        return;
    m_state.mapMode = mode;
    updateTransform();
}

void MetafileCanvas::setOrigin(QPointF *origin, QPointF org)
{
    if (!usablePoint(org))
        return;
    *origin = org;
    updateTransform();
}

void MetafileCanvas::setExtent(double *extX, double *extY, double cx, double cy)
{
    if (!usableExtent(cx) || !usableExtent(cy))
        return;
    *extX = cx;
    *extY = cy;
    updateTransform();
}

void MetafileCanvas::setWindowOrg(QPointF org)
{
    setOrigin(&m_state.windowOrg, org);
}

void MetafileCanvas::setWindowExt(double cx, double cy)
{
    setExtent(&m_state.windowExtX, &m_state.windowExtY, cx, cy);
}

void MetafileCanvas::setViewportOrg(QPointF org)
{
    setOrigin(&m_state.viewportOrg, org);
}

void MetafileCanvas::setViewportExt(double cx, double cy)
{
    setExtent(&m_state.viewportExtX, &m_state.viewportExtY, cx, cy);
}

void MetafileCanvas::offsetWindowOrg(QPointF delta)
{
    setWindowOrg(m_state.windowOrg + delta);
}

void MetafileCanvas::offsetViewportOrg(QPointF delta)
{
    setViewportOrg(m_state.viewportOrg + delta);
}

void MetafileCanvas::scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    setWindowExt(m_state.windowExtX * xNum / xDenom, m_state.windowExtY * yNum / yDenom);
}

void MetafileCanvas::scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    setViewportExt(m_state.viewportExtX * xNum / xDenom, m_state.viewportExtY * yNum / yDenom);
}

void MetafileCanvas::setWorldTransform(const QTransform &xform)
{
    if (!usableTransform(xform))
        return;
    m_state.world = xform;
    updateTransform();
}

void MetafileCanvas::modifyWorldTransform(const QTransform &xform, int mode)
{
    QTransform result;
    switch (mode) {
    case U_MWT_IDENTITY:
        break;
    case U_MWT_LEFTMULTIPLY:
        result = xform * m_state.world;
        break;
    case U_MWT_RIGHTMULTIPLY:
        result = m_state.world * xform;
        break;
    case MwtSet:
        result = xform;
        break;
    default:
        return;
    }
    setWorldTransform(result);
}

void MetafileCanvas::saveDC()
{
    if (m_saved.size() < MaxSavedStates)
        m_saved.append(m_state);
}

void MetafileCanvas::restoreDC(int which)
{
    // Negative: relative to the newest saved state; positive: the n-th save from the bottom.
    const qsizetype depth = m_saved.size();
    qsizetype index = which < 0 ? depth + which : qsizetype(which) - 1;
    if (which == 0 || index < 0 || index >= depth)
        return;
    m_state = m_saved.at(index);
    m_saved.resize(index);
    updateTransform();
}

void MetafileCanvas::selectObject(const GdiObject &object)
{
    switch (object.kind) {
    case GdiObject::Kind::Pen:
        selectPen(object.pen);
        break;
    case GdiObject::Kind::Brush:
        selectBrush(object.brush);
        break;
    case GdiObject::Kind::Font:
        selectFont(object.font);
        break;
    default:
        break;
    }
}

void MetafileCanvas::setMiterLimit(double limit)
{
    if (std::isfinite(limit) && limit >= 1 && limit <= 1000)
        m_state.miterLimit = limit;
}

// ---- Helpers ----------------------------------------------------------------------------------

QPointF MetafileCanvas::toImage(QPointF logical) const
{
    return clampPoint(m_toImage.map(logical));
}

QPainterPath MetafileCanvas::toImage(const QPainterPath &logical) const
{
    QPainterPath mapped = m_toImage.map(logical);
    for (int i = 0; i < mapped.elementCount(); ++i) {
        const QPainterPath::Element e = mapped.elementAt(i);
        mapped.setElementPositionAt(i, clampCoordinate(e.x), clampCoordinate(e.y));
    }
    return mapped;
}

bool MetafileCanvas::axisAligned() const
{
    return m_toImage.m12() == 0 && m_toImage.m21() == 0;
}

QRectF MetafileCanvas::boxInImage(const Box &box, bool shrink) const
{
    QRectF r = QRectF(clampPoint(m_toImage.map(QPointF(box.left, box.top))),
                      clampPoint(m_toImage.map(QPointF(box.right, box.bottom))))
                   .normalized();
    if (shrink) {
        // Windows leaves out the right and bottom edge of rectangles and ellipses.
        r.setRight(std::max(r.left(), r.right() - 1));
        r.setBottom(std::max(r.top(), r.bottom() - 1));
    }
    return r;
}

QRectF MetafileCanvas::frameInImage(const Box &box) const
{
    QRectF r = boxInImage(box, true);
    // An inside-frame pen draws within the box.
    if ((m_state.pen.style & U_PS_STYLE_MASK) == U_PS_INSIDEFRAME) {
        const double inset = std::floor(devicePen().widthF() / 2);
        if (r.width() > 2 * inset && r.height() > 2 * inset)
            r.adjust(inset, inset, -inset, -inset);
    }
    return r;
}

double MetafileCanvas::lineScale() const
{
    const double det = m_toImage.m11() * m_toImage.m22() - m_toImage.m12() * m_toImage.m21();
    return std::sqrt(std::abs(det));
}

QPen MetafileCanvas::devicePen() const
{
    const GdiPen &p = m_state.pen;
    const quint32 style = p.style & U_PS_STYLE_MASK;
    if (style == U_PS_NULL)
        return QPen(Qt::NoPen);
    const double scaled = p.width * lineScale();
    const int width = std::clamp(
        std::isfinite(scaled) ? int(std::lround(std::min(scaled, 1e6))) : 1, 1, MaxPenWidth);
    QPen pen{QColor::fromRgb(p.color)};
    pen.setWidth(width);
    pen.setCosmetic(width == 1);
    if (width == 1) {
        // Thin lines leave out their last pixel, as Windows draws them.
        pen.setCapStyle(Qt::FlatCap);
    } else {
        switch (p.style & U_PS_ENDCAP_MASK) {
        case U_PS_ENDCAP_SQUARE:
            pen.setCapStyle(Qt::SquareCap);
            break;
        case U_PS_ENDCAP_FLAT:
            pen.setCapStyle(Qt::FlatCap);
            break;
        default:
            pen.setCapStyle(Qt::RoundCap);
            break;
        }
    }
    switch (p.style & U_PS_JOIN_MASK) {
    case U_PS_JOIN_BEVEL:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case U_PS_JOIN_MITER:
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setMiterLimit(m_state.miterLimit);
        break;
    default:
        pen.setJoinStyle(width == 1 ? Qt::MiterJoin : Qt::RoundJoin);
        break;
    }

    // Dash lengths in pen widths: fixed pixel patterns for thin pens, multiples of the width
    // for wide ones.
    const bool thin = width == 1 && !(p.style & U_PS_GEOMETRIC);
    QList<qreal> dashes;
    switch (style) {
    case 1:
        dashes = thin ? QList<qreal>{18, 6} : QList<qreal>{3, 1};
        break;
    case 2:
        dashes = thin ? QList<qreal>{3, 3} : QList<qreal>{1, 1};
        break;
    case 3:
        dashes = thin ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1};
        break;
    case 4:
        dashes = thin ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1};
        break;
    case U_PS_ALTERNATE:
        dashes = {1, 1};
        break;
    case U_PS_USERSTYLE:
        for (double length : p.userDashes)
            dashes.append(std::clamp(length * lineScale() / width, 0.1, 1000.0));
        if (dashes.size() % 2)
            dashes.append(dashes.last());
        break;
    default:
        break;
    }
    if (!dashes.isEmpty()) {
        if (width > 1)
            pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(dashes);
    }
    return pen;
}

QBrush MetafileCanvas::deviceBrush(const GdiBrush &brush) const
{
    switch (brush.style) {
    case U_BS_SOLID:
        return QBrush(QColor::fromRgb(brush.color));
    case U_BS_NULL:
        return QBrush(Qt::NoBrush);
    case U_BS_HATCHED:
        return QBrush(QColor::fromRgb(brush.color), hatchStyle(brush.hatch));
    default:
        if (!brush.pattern.isNull())
            return QBrush(brush.pattern);
        return QBrush(QColor::fromRgb(brush.color));
    }
}

Qt::FillRule MetafileCanvas::fillRule() const
{
    return m_state.polyFillMode == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
}

bool MetafileCanvas::prepare(bool usesPen)
{
    Q_UNUSED(usesPen);
    if (m_state.rop2 == 11) // R2_NOP
        return false;
    m_painter.setCompositionMode(binaryRasterMode(m_state.rop2));
    if (m_state.clip)
        m_painter.setClipRegion(*m_state.clip);
    else
        m_painter.setClipping(false);
    m_painter.setBackgroundMode(m_state.bkMode == U_OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    m_painter.setBackground(QColor::fromRgb(m_state.bkColor));
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    return true;
}

void MetafileCanvas::drawShape(const QPainterPath &imagePath, bool fill, bool stroke)
{
    if (m_inPath) {
        m_path.addPath(imagePath);
        return;
    }
    if (!prepare(stroke))
        return;
    QPen pen = stroke ? devicePen() : QPen(Qt::NoPen);
    const QRectF bounds = imagePath.controlPointRect();
    const double reach = 64.0 * (m_image->width() + m_image->height());
    // Dashes over a shape far larger than the picture would take millions of segments.
    if (pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen &&
        bounds.width() + bounds.height() > reach)
        pen.setStyle(Qt::SolidLine);
    const double margin = pen.style() == Qt::NoPen ? 1 : pen.widthF() + 1;
    chargeArea(bounds.adjusted(-margin, -margin, margin, margin));
    m_painter.setPen(pen);
    m_painter.setBrush(fill ? deviceBrush(m_state.brush) : QBrush(Qt::NoBrush));
    QPainterPath path = imagePath;
    path.setFillRule(fillRule());
    m_painter.drawPath(path);
}

void MetafileCanvas::continuePath(const QPainterPath &imagePath)
{
    if (m_path.elementCount() == 0)
        m_path.moveTo(imagePath.elementAt(0).x, imagePath.elementAt(0).y);
    m_path.connectPath(imagePath);
}

void MetafileCanvas::strokeOpen(const QPainterPath &imagePath)
{
    drawShape(imagePath, false, true);
}

void MetafileCanvas::moveToImagePoint(QPointF imagePoint)
{
    bool invertible = false;
    const QTransform back = m_toImage.inverted(&invertible);
    if (invertible)
        m_state.position = back.map(imagePoint);
}

// ---- Lines and shapes -------------------------------------------------------------------------

void MetafileCanvas::moveTo(QPointF p)
{
    if (!usablePoint(p))
        return;
    m_state.position = p;
    if (m_inPath)
        m_path.moveTo(toImage(p));
}

void MetafileCanvas::lineTo(QPointF p)
{
    if (!usablePoint(p))
        return;
    const QPointF from = toImage(m_state.position);
    const QPointF to = toImage(p);
    m_state.position = p;
    if (m_inPath) {
        if (m_path.elementCount() == 0 || m_path.currentPosition() != from)
            m_path.moveTo(from);
        m_path.lineTo(to);
        return;
    }
    QPainterPath path(from);
    path.lineTo(to);
    strokeOpen(path);
}

void MetafileCanvas::rectangle(const Box &box)
{
    QPainterPath path;
    if (axisAligned()) {
        path.addRect(frameInImage(box));
    } else {
        QPainterPath logical;
        logical.addRect(boxRect(box));
        path = toImage(logical);
    }
    drawShape(path, true, true);
}

void MetafileCanvas::roundRect(const Box &box, double cornerWidth, double cornerHeight)
{
    QPainterPath path;
    if (axisAligned()) {
        const QRectF r = boxInImage(box, true);
        const double rx = std::min(std::abs(cornerWidth * m_toImage.m11()) / 2, r.width() / 2);
        const double ry = std::min(std::abs(cornerHeight * m_toImage.m22()) / 2, r.height() / 2);
        path.addRoundedRect(r, rx, ry);
    } else {
        QPainterPath logical;
        logical.addRoundedRect(boxRect(box).normalized(), std::abs(cornerWidth) / 2,
                               std::abs(cornerHeight) / 2);
        path = toImage(logical);
    }
    drawShape(path, true, true);
}

void MetafileCanvas::ellipse(const Box &box)
{
    QPainterPath path;
    if (axisAligned()) {
        path.addEllipse(frameInImage(box));
    } else {
        QPainterPath logical;
        logical.addEllipse(boxRect(box).normalized());
        path = toImage(logical);
    }
    drawShape(path, true, true);
}

QPainterPath MetafileCanvas::arcPath(ArcKind kind, const Box &box, QPointF start, QPointF end,
                                     QPointF *arcStart, QPointF *arcEnd) const
{
    // Built in image space when the mapping keeps axes, in logical space otherwise.
    const bool aligned = axisAligned();
    const QRectF r = aligned ? boxInImage(box, true) : boxRect(box).normalized();
    const QPointF s = aligned ? toImage(start) : start;
    const QPointF e = aligned ? toImage(end) : end;
    const double a1 = ellipseAngle(r, s);
    const double a2 = ellipseAngle(r, e);
    double sweep;
    if (m_state.arcDirection == U_AD_CLOCKWISE) {
        sweep = a2 - a1;
        while (sweep >= 0)
            sweep -= 360;
    } else {
        sweep = a2 - a1;
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(r.center());
        path.arcTo(r, a1, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(r, a1);
        path.arcTo(r, a1, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    *arcStart = ellipsePoint(r, a1);
    *arcEnd = ellipsePoint(r, a1 + sweep);
    if (aligned)
        return path;
    *arcStart = toImage(*arcStart);
    *arcEnd = toImage(*arcEnd);
    return toImage(path);
}

void MetafileCanvas::arc(ArcKind kind, const Box &box, QPointF start, QPointF end)
{
    QPointF arcStart, arcEnd;
    QPainterPath path = arcPath(kind, box, start, end, &arcStart, &arcEnd);
    if (kind == ArcKind::ArcTo) {
        QPainterPath joined(toImage(m_state.position));
        joined.lineTo(arcStart);
        joined.connectPath(path);
        path = joined;
        moveToImagePoint(arcEnd);
    }
    const bool closed = kind == ArcKind::Chord || kind == ArcKind::Pie;
    if (m_inPath && kind == ArcKind::ArcTo) {
        continuePath(path);
        return;
    }
    drawShape(path, closed, true);
}

void MetafileCanvas::angleArc(QPointF center, double radius, double startDegrees,
                              double sweepDegrees)
{
    if (!usablePoint(center) || !std::isfinite(radius) || radius < 0 || radius > ExtentLimit ||
        !std::isfinite(startDegrees) || !std::isfinite(sweepDegrees))
        return;
    sweepDegrees = std::clamp(sweepDegrees, -360.0, 360.0);
    const QRectF r(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QPainterPath logical(m_state.position);
    QPointF startPoint(center.x() + radius * std::cos(startDegrees * M_PI / 180),
                       center.y() - radius * std::sin(startDegrees * M_PI / 180));
    logical.lineTo(startPoint);
    logical.arcTo(r, startDegrees, sweepDegrees);
    m_state.position = logical.currentPosition();
    const QPainterPath path = toImage(logical);
    if (m_inPath) {
        m_path.connectPath(path);
        return;
    }
    strokeOpen(path);
}

void MetafileCanvas::addPolyline(QPainterPath *path, const QPolygonF &points, bool close) const
{
    if (points.size() < 2)
        return;
    path->moveTo(toImage(points.first()));
    for (qsizetype i = 1; i < points.size(); ++i)
        path->lineTo(toImage(points.at(i)));
    if (close)
        path->closeSubpath();
}

void MetafileCanvas::polygon(const QPolygonF &points)
{
    polyPolygon({points});
}

void MetafileCanvas::polyline(const QPolygonF &points)
{
    polyPolyline({points});
}

void MetafileCanvas::polylineTo(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    QPainterPath path(toImage(m_state.position));
    for (QPointF p : points)
        path.lineTo(toImage(p));
    if (m_inPath) {
        continuePath(path);
    } else {
        strokeOpen(path);
    }
    m_state.position = points.last();
}

void MetafileCanvas::polyPolygon(const QList<QPolygonF> &polygons)
{
    QPainterPath path;
    for (const QPolygonF &polygon : polygons)
        addPolyline(&path, polygon, true);
    if (!path.isEmpty())
        drawShape(path, true, true);
}

void MetafileCanvas::polyPolyline(const QList<QPolygonF> &polylines)
{
    QPainterPath path;
    for (const QPolygonF &line : polylines)
        addPolyline(&path, line, false);
    if (!path.isEmpty())
        strokeOpen(path);
}

void MetafileCanvas::polyBezier(const QPolygonF &points)
{
    if (points.size() < 4 || (points.size() - 1) % 3 != 0)
        return;
    QPainterPath path(toImage(points.first()));
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(toImage(points.at(i)), toImage(points.at(i + 1)), toImage(points.at(i + 2)));
    strokeOpen(path);
}

void MetafileCanvas::polyBezierTo(const QPolygonF &points)
{
    if (points.isEmpty() || points.size() % 3 != 0)
        return;
    QPainterPath path(toImage(m_state.position));
    for (qsizetype i = 0; i + 2 < points.size(); i += 3)
        path.cubicTo(toImage(points.at(i)), toImage(points.at(i + 1)), toImage(points.at(i + 2)));
    m_state.position = points.last();
    if (m_inPath) {
        continuePath(path);
        return;
    }
    strokeOpen(path);
}

void MetafileCanvas::setPixel(QPointF p, QRgb color)
{
    if (!usablePoint(p) || !prepare(false))
        return;
    const QPointF q = clampPoint(m_toImage.map(p));
    chargeArea(QRectF(q, QSizeF(1, 1)));
    m_painter.fillRect(QRectF(std::floor(q.x()), std::floor(q.y()), 1, 1), QColor::fromRgb(color));
}

// ---- Text -------------------------------------------------------------------------------------

QFont MetafileCanvas::qtFont(double *scaleX, double *scaleY, double *angle) const
{
    const GdiFont &f = m_state.font;
    const QPointF o = m_toImage.map(QPointF(0, 0));
    *scaleX = QLineF(o, m_toImage.map(QPointF(1, 0))).length();
    *scaleY = QLineF(o, m_toImage.map(QPointF(0, 1))).length();
    // Text stays upright under the mapping modes; only the world transform turns it.
    double worldAngle = 0;
    if (m_state.world.m12() != 0 || m_state.world.m21() != 0)
        worldAngle =
            QLineF(m_state.world.map(QPointF(0, 0)), m_state.world.map(QPointF(1, 0))).angle();
    *angle = f.escapement / 10.0 + worldAngle;

    QFont font;
    QStringList families;
    if (!f.face.isEmpty())
        families << f.face;
    const QString fallback = MetafileText::fallbackFamily(f.face, f.charSet, f.pitchAndFamily);
    if (!fallback.isEmpty())
        families << fallback;
    if (!families.isEmpty())
        font.setFamilies(families);
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 1, 1000)));
    font.setItalic(f.italic);
    font.setKerning(false);

    const double maxPixels = 4.0 * std::max(m_image->width(), m_image->height()) + 16;
    double pixels = f.height == 0 ? 16.0 : std::abs(double(f.height)) * *scaleY;
    if (!std::isfinite(pixels))
        pixels = 16;
    if (f.height >= 0) {
        // A positive height is the cell height: ascent plus descent.
        QFont probe = font;
        probe.setPixelSize(100);
        const QFontMetricsF fm(probe);
        const double cell = fm.ascent() + fm.descent();
        if (cell > 0)
            pixels = pixels * 100.0 / cell;
    }
    font.setPixelSize(int(std::lround(std::clamp(pixels, 1.0, maxPixels))));
    return font;
}

void MetafileCanvas::textOut(QPointF reference, const QString &text, const QList<double> &advances,
                             quint32 options, const std::optional<Box> &box)
{
    const quint32 align = m_state.textAlign;
    const bool updateCp = align & U_TA_UPDATECP;
    const QPointF anchor = updateCp ? m_state.position : reference;
    if (!usablePoint(anchor))
        return;
    double scaleX, scaleY, angle;
    const QFont font = qtFont(&scaleX, &scaleY, &angle);
    const QFontMetricsF fm(font);

    // Advance of every UTF-16 unit along the baseline, in image pixels.
    QList<double> step(text.size(), 0.0);
    const bool ownAdvances = !advances.isEmpty();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (ownAdvances) {
            const double a = advances.value(i) * scaleX;
            step[i] = std::isfinite(a) ? std::clamp(a, -CoordinateLimit, CoordinateLimit) : 0;
        } else if (!text.at(i).isLowSurrogate()) {
            const qsizetype n = characterLength(text, i);
            step[i] = fm.horizontalAdvance(text.mid(i, n)) + m_state.charExtra * scaleX;
        }
    }
    double width = 0;
    for (double a : step)
        width += a;

    double x0 = 0;
    if ((align & U_TA_CENTER) == U_TA_CENTER)
        x0 = -width / 2;
    else if (align & U_TA_RIGHT)
        x0 = -width;
    double baseline = fm.ascent();
    if ((align & U_TA_BASELINE) == U_TA_BASELINE)
        baseline = 0;
    else if (align & U_TA_BOTTOM)
        baseline = -fm.descent();

    const QPointF origin = clampPoint(m_toImage.map(anchor));
    const double reach = std::abs(width) + fm.height();
    chargeArea(QRectF(origin.x() - reach, origin.y() - reach, 2 * reach, 2 * reach));
    // Glyphs cost far more per pixel than fills: about as much as 64 filled pixels.
    const qint64 glyphPixels = std::max<qint64>(256, qint64(font.pixelSize()) * font.pixelSize());
    m_painted += qint64(text.size()) * 64 * glyphPixels;
    // Calls place(position, character) for every character at its place along the baseline.
    const auto forEachCharacter = [&](const auto &place) {
        double x = x0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!text.at(i).isLowSurrogate())
                place(QPointF(x, baseline), text.mid(i, characterLength(text, i)));
            x += step[i];
        }
    };
    if (m_inPath) {
        QPainterPath glyphs;
        forEachCharacter(
            [&](QPointF at, const QString &character) { glyphs.addText(at, font, character); });
        QTransform place;
        place.translate(origin.x(), origin.y());
        place.rotate(-angle);
        m_path.addPath(place.map(glyphs));
    } else if (prepare(false)) {
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (box && (options & (U_ETO_OPAQUE | U_ETO_CLIPPED))) {
            const QRectF r = boxInImage(*box, false);
            if (options & U_ETO_OPAQUE)
                m_painter.fillRect(r, QColor::fromRgb(m_state.bkColor));
            if (options & U_ETO_CLIPPED)
                m_painter.setClipRect(r, m_painter.hasClipping() ? Qt::IntersectClip
                                                                 : Qt::ReplaceClip);
        }
        m_painter.save();
        m_painter.translate(origin);
        m_painter.rotate(-angle);
        if (m_state.bkMode == U_OPAQUE)
            m_painter.fillRect(
                QRectF(x0, baseline - fm.ascent(), width, fm.ascent() + fm.descent()),
                QColor::fromRgb(m_state.bkColor));
        m_painter.setFont(font);
        m_painter.setPen(QColor::fromRgb(m_state.textColor));
        m_painter.setBackgroundMode(Qt::TransparentMode);
        if (!ownAdvances && m_state.charExtra == 0) {
            m_painter.drawText(QPointF(x0, baseline), text);
        } else {
            forEachCharacter(
                [&](QPointF at, const QString &character) { m_painter.drawText(at, character); });
        }
        const double thickness = std::max(1.0, std::round(fm.lineWidth()));
        const QColor color = QColor::fromRgb(m_state.textColor);
        if (m_state.font.underline)
            m_painter.fillRect(
                QRectF(x0, std::round(baseline + fm.underlinePos()), width, thickness), color);
        if (m_state.font.strikeOut)
            m_painter.fillRect(
                QRectF(x0, std::round(baseline - fm.strikeOutPos()), width, thickness), color);
        m_painter.restore();
    }

    if (updateCp) {
        double move = 0;
        if ((align & U_TA_CENTER) == U_TA_CENTER)
            move = 0;
        else if (align & U_TA_RIGHT)
            move = -width;
        else
            move = width;
        const double radians = angle * M_PI / 180;
        const QPointF endImage =
            origin + QPointF(move * std::cos(radians), -move * std::sin(radians));
        moveToImagePoint(endImage);
    }
}

// ---- Bitmaps ----------------------------------------------------------------------------------

void MetafileCanvas::drawImage(const Box &dest, const QImage &image, const QRectF &source,
                               quint32 rop)
{
    const Blit blit = blitOf(rop);
    if (image.isNull() || !needsSource(blit)) {
        patBlt(dest, rop);
        return;
    }
    if (!prepare(false))
        return;

    // Mirroring by negative extents, then the source cut to the bitmap.
    QImage picture = image;
    QRectF src = source;
    Box box = dest;
    const bool flipX = (src.width() < 0) != (box.right < box.left);
    const bool flipY = (src.height() < 0) != (box.bottom < box.top);
    src = src.normalized();
    if (box.right < box.left)
        std::swap(box.left, box.right);
    if (box.bottom < box.top)
        std::swap(box.top, box.bottom);
    const QRectF clipped = src & QRectF(picture.rect());
    if (clipped.isEmpty() || src.width() <= 0 || src.height() <= 0)
        return;
    const double fx = (box.right - box.left) / src.width();
    const double fy = (box.bottom - box.top) / src.height();
    Box part{box.left + (clipped.left() - src.left()) * fx,
             box.top + (clipped.top() - src.top()) * fy,
             box.left + (clipped.right() - src.left()) * fx,
             box.top + (clipped.bottom() - src.top()) * fy};
    if (flipX || flipY) {
        picture = picture.copy(clipped.toAlignedRect()).mirrored(flipX, flipY);
        part = flipX ? Box{box.left + box.right - part.right, part.top,
                           box.left + box.right - part.left, part.bottom}
                     : part;
        part = flipY ? Box{part.left, box.top + box.bottom - part.bottom, part.right,
                           box.top + box.bottom - part.top}
                     : part;
    }
    const QRectF from = (flipX || flipY) ? QRectF(picture.rect()) : clipped;

    const QRectF target(QPointF(part.left, part.top), QPointF(part.right, part.bottom));
    const QPolygonF corners = m_toImage.map(QPolygonF(target));
    for (QPointF p : corners)
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::abs(p.x()) > CoordinateLimit ||
            std::abs(p.y()) > CoordinateLimit)
            return;

    chargeArea(corners.boundingRect());
    m_painter.setCompositionMode(blitMode(blit));
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, m_state.stretchMode == U_HALFTONE);
    m_painter.setTransform(m_toImage);
    m_painter.drawImage(target, picture, from);
    m_painter.resetTransform();
}

void MetafileCanvas::patBlt(const Box &dest, quint32 rop)
{
    const Blit blit = blitOf(rop);
    if (blit == Blit::Nothing || !prepare(false))
        return;
    QPainterPath area;
    if (axisAligned()) {
        area.addRect(boxInImage(dest, false));
    } else {
        QPainterPath logical;
        logical.addRect(boxRect(dest));
        area = m_toImage.map(logical);
    }
    QBrush brush = deviceBrush(m_state.brush);
    switch (blit) {
    case Blit::Black:
    case Blit::White:
    case Blit::InvertDestination:
        brush = QBrush(Qt::black);
        break;
    case Blit::Pattern:
    case Blit::PatternXor:
        break;
    default:
        return; // a source operation without a source
    }
    chargeArea(area.controlPointRect());
    m_painter.setCompositionMode(blitMode(blit));
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(brush);
    m_painter.drawPath(area);
}

// ---- Clipping ---------------------------------------------------------------------------------

void MetafileCanvas::combineClip(const QRegion &region, int mode)
{
    const QRegion whole(m_image->rect());
    const QRegion current = m_state.clip.value_or(whole);
    switch (mode) {
    case U_RGN_AND:
        m_state.clip = current.intersected(region);
        break;
    case U_RGN_OR:
        m_state.clip = current.united(region);
        break;
    case U_RGN_XOR:
        m_state.clip = current.xored(region);
        break;
    case U_RGN_DIFF:
        m_state.clip = current.subtracted(region);
        break;
    case U_RGN_COPY:
        m_state.clip = region.intersected(whole);
        break;
    default:
        break;
    }
}

void MetafileCanvas::intersectClipRect(const Box &box)
{
    QRegion region;
    if (axisAligned()) {
        const QRectF r = boxInImage(box, false);
        region = QRegion(pixelRect(r));
    } else {
        region = QRegion(m_toImage.map(QPolygonF(boxRect(box))).toPolygon());
    }
    combineClip(region, U_RGN_AND);
}

void MetafileCanvas::excludeClipRect(const Box &box)
{
    combineClip(QRegion(pixelRect(boxInImage(box, false))), U_RGN_DIFF);
}

void MetafileCanvas::offsetClip(QPointF delta)
{
    if (!m_state.clip || !usablePoint(delta))
        return;
    const QPointF shift = clampPoint(m_toImage.map(delta) - m_toImage.map(QPointF(0, 0)));
    m_state.clip->translate(int(std::lround(shift.x())), int(std::lround(shift.y())));
    m_state.clip = m_state.clip->intersected(QRegion(m_image->rect()));
}

QRegion MetafileCanvas::deviceRegion(const QList<QRect> &deviceRects) const
{
    const QRect bounds = m_image->rect().adjusted(-1, -1, 1, 1);
    QRegion region;
    for (const QRect &rect : deviceRects) {
        const QRectF mapped = m_deviceToImage.mapRect(QRectF(rect.left(), rect.top(),
                                                             double(rect.right()) - rect.left(),
                                                             double(rect.bottom()) - rect.top()));
        const QRect pixels = QRect(QPoint(int(std::lround(clampCoordinate(mapped.left()))),
                                          int(std::lround(clampCoordinate(mapped.top())))),
                                   QPoint(int(std::lround(clampCoordinate(mapped.right()))) - 1,
                                          int(std::lround(clampCoordinate(mapped.bottom()))) - 1))
                                 .intersected(bounds);
        if (!pixels.isEmpty())
            region += pixels;
    }
    return region;
}

void MetafileCanvas::selectClipRegion(const QList<QRect> &deviceRects, int mode)
{
    if (mode == U_RGN_COPY && deviceRects.isEmpty()) {
        m_state.clip.reset();
        return;
    }
    combineClip(deviceRegion(deviceRects), mode);
}

void MetafileCanvas::fillRegion(const QList<QRect> &deviceRects, const GdiBrush &brush)
{
    if (!prepare(false))
        return;
    const QRegion region = deviceRegion(deviceRects);
    chargeArea(region.boundingRect());
    m_painter.setCompositionMode(binaryRasterMode(m_state.rop2));
    for (const QRect &rect : region)
        m_painter.fillRect(rect, deviceBrush(brush));
}

// ---- Paths ------------------------------------------------------------------------------------

void MetafileCanvas::beginPath()
{
    m_inPath = true;
    m_pathReady = false;
    m_path = QPainterPath();
}

void MetafileCanvas::endPath()
{
    if (!m_inPath)
        return;
    m_inPath = false;
    m_pathReady = true;
}

void MetafileCanvas::abortPath()
{
    m_inPath = false;
    m_pathReady = false;
    m_path = QPainterPath();
}

void MetafileCanvas::closeFigure()
{
    if (m_inPath)
        m_path.closeSubpath();
}

std::optional<QPainterPath> MetafileCanvas::takePath()
{
    endPath();
    if (!m_pathReady)
        return std::nullopt;
    m_pathReady = false;
    return std::exchange(m_path, QPainterPath());
}

void MetafileCanvas::fillPath()
{
    if (const std::optional<QPainterPath> path = takePath())
        drawShape(*path, true, false);
}

void MetafileCanvas::strokePath()
{
    if (const std::optional<QPainterPath> path = takePath())
        drawShape(*path, false, true);
}

void MetafileCanvas::strokeAndFillPath()
{
    if (const std::optional<QPainterPath> path = takePath())
        drawShape(*path, true, true);
}

void MetafileCanvas::selectClipPath(int mode)
{
    const std::optional<QPainterPath> path = takePath();
    if (!path)
        return;
    QRegion region;
    for (const QPolygonF &polygon : path->toFillPolygons()) {
        const QRegion part(polygon.toPolygon(), fillRule());
        region = fillRule() == Qt::WindingFill ? region.united(part) : region.xored(part);
    }
    combineClip(region.intersected(QRegion(m_image->rect())), mode);
}
