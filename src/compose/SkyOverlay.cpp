#include "SkyOverlay.h"

#include "Canvas.h"
#include "TextItem.h"
#include "common/ColorRef.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace SkyOverlay {

namespace {

constexpr int kMaxLabels = 16;
constexpr double kRingRadius = 4; // pixels: the mark of an object too small for an ellipse

// Round lengths for the scale bar, arcseconds.
constexpr double kBarLengths[] = {10,   20,   30,   60,    120,   300,   600,   900,   1200,
                                  1800, 3600, 7200, 10800, 18000, 36000, 72000, 108000};

double margin(const QSize &photo)
{
    return std::max(4.0, 0.02 * std::min(photo.width(), photo.height()));
}

bool fits(const QRectF &box, const QRectF &photo, const QList<QRectF> &taken)
{
    if (!photo.contains(box))
        return false;
    return std::none_of(taken.begin(), taken.end(),
                        [&box](const QRectF &t) { return t.intersects(box); });
}

// A unit vector in the picture toward the place `angle` degrees (north through east) from the
// sky at `pixel`.
QPointF direction(const Wcs &wcs, const QPointF &pixel, double angle)
{
    const SkyPoint from = wcs.pixelToSky(pixel);
    const double step = wcs.pixelScale() * 10 / 3600; // ten pixels
    const double a = angle * M_PI / 180;
    const double dec = from.dec * M_PI / 180;
    // A step small enough that the plane of the sky is flat over it.
    SkyPoint to{from.ra + step * std::sin(a) / std::max(1e-6, std::cos(dec)),
                from.dec + step * std::cos(a)};
    double sign = 1;
    if (to.dec > 90 || to.dec < -90) {
        to = {from.ra - step * std::sin(a) / std::max(1e-6, std::cos(dec)),
              from.dec - step * std::cos(a)};
        sign = -1;
    }
    const auto p = wcs.skyToPixel(to);
    if (!p)
        return {};
    const QPointF d = (*p - pixel) * sign;
    const double length = std::hypot(d.x(), d.y());
    return length > 0 ? d / length : QPointF();
}

QString barText(double arcsec)
{
    if (arcsec >= 3600)
        return QStringLiteral("%1°").arg(arcsec / 3600);
    if (arcsec >= 60)
        return QStringLiteral("%1′").arg(arcsec / 60);
    return QStringLiteral("%1″").arg(arcsec);
}

QString labelText(const SkyObject &object, AppSettings::Language language)
{
    const QString name = object.name(language);
    return name.isEmpty() ? object.shortLabel() : object.shortLabel() + QLatin1Char(' ') + name;
}

// The places a label may take around its object, best first: right, left, above, below, then
// the diagonals, each `gap` pixels beyond the object's mark.
QList<QRectF> candidates(const QPointF &c, double gap, const QSizeF &size)
{
    const double w = size.width();
    const double h = size.height();
    const double d = gap * M_SQRT1_2;
    return {
        QRectF(c.x() + gap, c.y() - h / 2, w, h),     QRectF(c.x() - gap - w, c.y() - h / 2, w, h),
        QRectF(c.x() - w / 2, c.y() - gap - h, w, h), QRectF(c.x() - w / 2, c.y() + gap, w, h),
        QRectF(c.x() + d, c.y() - d - h, w, h),       QRectF(c.x() - d - w, c.y() - d - h, w, h),
        QRectF(c.x() + d, c.y() + d, w, h),           QRectF(c.x() - d - w, c.y() + d, w, h)};
}

} // namespace

double scaleBarArcsec(double arcsecPerPixel, double maxPixels)
{
    double best = 0;
    for (double length : kBarLengths) {
        if (arcsecPerPixel > 0 && length / arcsecPerPixel <= maxPixels)
            best = length;
    }
    return best;
}

QFont font(const TemplateSky &style, const QString &fallbackName)
{
    TextItem item;
    item.fontName = style.fontName.isEmpty() ? fallbackName : style.fontName;
    item.fontSize = std::clamp(style.fontSize, Canvas::MinPointSize, Canvas::MaxPointSize);
    QFont f;
    Canvas::makeFont(item, &f, nullptr);
    return f;
}

Layout layOut(const Wcs &solved, const QList<FieldObject> &objects, const QSize &photo,
              const TemplateSky &style, const QFont &font, AppSettings::Language language)
{
    Layout layout;
    layout.photo = photo;
    if (!solved.isValid() || photo.isEmpty())
        return layout;
    const double sx = double(photo.width()) / solved.imageSize().width();
    const double sy = double(photo.height()) / solved.imageSize().height();
    const Wcs wcs = solved.transformed(sx, sy, QPointF(0, 0), photo);
    const QFontMetricsF metrics(font);
    const QRectF area(QPointF(0, 0), QSizeF(photo));
    const double m = margin(photo);
    const QRectF inner = area.adjusted(m, m, -m, -m);
    const bool left =
        style.corner == TemplateSky::TopLeft || style.corner == TemplateSky::BottomLeft;
    const bool top = style.corner == TemplateSky::TopLeft || style.corner == TemplateSky::TopRight;
    QList<QRectF> taken;

    // The corner's marks in a row from the corner inward: the compass, then the scale bar.
    double along = left ? inner.left() : inner.right();
    const auto placeInRow = [&](const QSizeF &size) {
        const double x = left ? along : along - size.width();
        const double y = top ? inner.top() : inner.bottom() - size.height();
        along = left ? x + size.width() + m : x - m;
        return QRectF(QPointF(x, y), size);
    };
    if (style.compass) {
        const double letter = metrics.height();
        const double arm = std::clamp(0.07 * std::min(photo.width(), photo.height()), 12.0, 80.0);
        const double side = 2 * (arm + letter + 2);
        const QRectF box = placeInRow(QSizeF(side, side));
        if (inner.contains(box)) {
            Compass c;
            c.box = box;
            c.origin = box.center();
            const QPointF north = direction(wcs, c.origin, 0);
            const QPointF east = direction(wcs, c.origin, 90);
            c.north = c.origin + north * arm;
            c.east = c.origin + east * arm;
            const auto textAt = [&](const QPointF &dir, const QString &text) {
                const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
                const QPointF centre = c.origin + dir * (arm + letter / 2 + 1);
                return QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size);
            };
            c.northText = textAt(north, QStringLiteral("N"));
            c.eastText = textAt(east, QStringLiteral("E"));
            layout.compass = c;
            taken << box;
        } else {
            along = left ? inner.left() : inner.right();
        }
    }
    if (style.scaleBar) {
        const double room = left ? inner.right() - along : along - inner.left();
        const double arcsec =
            scaleBarArcsec(wcs.pixelScale(), std::min(0.25 * photo.width(), room));
        if (arcsec > 0) {
            ScaleBar bar;
            bar.text = barText(arcsec);
            const double length = arcsec / wcs.pixelScale();
            const double textWidth = metrics.horizontalAdvance(bar.text);
            const QSizeF size(std::max(length, textWidth), metrics.height() + 6);
            const QRectF box = placeInRow(size);
            if (inner.contains(box)) {
                bar.box = box;
                const double x0 = box.center().x() - length / 2;
                const double y = box.bottom() - 2;
                bar.start = QPointF(x0, y);
                bar.end = QPointF(x0 + length, y);
                bar.textBox = QRectF(box.center().x() - textWidth / 2, box.top(), textWidth,
                                     metrics.height());
                layout.scaleBar = bar;
                taken << box;
            }
        }
    }
    if (!style.labels)
        return layout;

    // The objects' marks are placed first, so that no label covers one; then the labels, the
    // largest objects first.
    const double shorter = std::min(photo.width(), photo.height());
    QList<Label> marks;
    for (const FieldObject &o : objects) {
        if (marks.size() >= kMaxLabels)
            break;
        const QPointF centre(o.pixel.x() * sx, o.pixel.y() * sy);
        if (!area.contains(centre))
            continue;
        const double major = o.majorPixels * sx;
        if (!o.fromCatalogue && major < FieldObjects::ListedShare * shorter)
            continue;
        Label l;
        l.text = labelText(o.object, language);
        l.centre = centre;
        if (major >= 2 * kRingRadius) {
            l.major = major;
            l.minor = std::max(1.0, o.minorPixels * sx);
            l.axisAngle = o.axisAngle;
        }
        marks << l;
    }
    for (Label &l : marks) {
        const QSizeF size(metrics.horizontalAdvance(l.text), metrics.height());
        // Beyond the ellipse when it is small; inside it, near its centre, when it fills much
        // of the picture.
        const double reach = l.major > 0 ? l.minor / 2 + 2 : kRingRadius + 2;
        QList<QRectF> places = candidates(l.centre, reach, size);
        if (l.major > 0)
            places << candidates(l.centre, kRingRadius + 2, size);
        for (const QRectF &place : places) {
            if (fits(place, inner, taken)) {
                l.box = place;
                taken << place;
                layout.labels << l;
                break;
            }
        }
    }
    return layout;
}

void draw(QImage &canvas, const QPoint &photoTopLeft, const Layout &layout,
          const TemplateSky &style, const QFont &font)
{
    if (layout.photo.isEmpty())
        return;
    QPainter painter(&canvas);
    painter.setClipRect(QRect(photoTopLeft, layout.photo));
    painter.translate(photoTopLeft);
    const QColor colour = ColorRef::toColor(style.color);
    QPen pen(colour, std::max(1.0, std::round(QFontMetricsF(font).height() / 12)));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setFont(font);
    const auto text = [&painter](const QRectF &box, const QString &t) {
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, t);
    };
    for (const Label &l : layout.labels) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.save();
        painter.translate(l.centre);
        painter.rotate(l.axisAngle);
        if (l.major > 0)
            painter.drawEllipse(QPointF(0, 0), l.major / 2, l.minor / 2);
        else
            painter.drawEllipse(QPointF(0, 0), kRingRadius, kRingRadius);
        painter.restore();
        painter.setRenderHint(QPainter::Antialiasing, false);
        text(l.box, l.text);
    }
    if (const auto &c = layout.compass) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.drawLine(c->origin, c->north);
        painter.drawLine(c->origin, c->east);
        // An arrow head on north.
        const QPointF d = c->north - c->origin;
        const double length = std::hypot(d.x(), d.y());
        if (length > 0) {
            const QPointF u = d / length;
            const QPointF n(-u.y(), u.x());
            const double head = std::max(3.0, length / 5);
            painter.drawLine(c->north, c->north - u * head + n * head / 2);
            painter.drawLine(c->north, c->north - u * head - n * head / 2);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        text(c->northText, QStringLiteral("N"));
        text(c->eastText, QStringLiteral("E"));
    }
    if (const auto &b = layout.scaleBar) {
        painter.drawLine(b->start, b->end);
        painter.drawLine(b->start, b->start - QPointF(0, 3));
        painter.drawLine(b->end, b->end - QPointF(0, 3));
        text(b->textBox, b->text);
    }
}

} // namespace SkyOverlay
