#include "FontMetricsMeasurer.h"

#include "Canvas.h"
#include "TextItem.h"

#include <QFontMetricsF>

QSizeF FontMetricsMeasurer::measure(const TextItem &item, const QString &text) const
{
    // A 96-dpi device, so that the measures are those of the canvas.
    static const QImage device = Canvas::makeImage(1, 1);
    QFont font;
    if (!Canvas::makeFont(item, &font, nullptr))
        return {};
    const QFontMetricsF metrics(font, &device);
    return {metrics.horizontalAdvance(text), metrics.height()};
}
