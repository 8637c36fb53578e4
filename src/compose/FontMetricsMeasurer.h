#pragma once

#include "TextMeasurer.h"

// Measures with QFontMetricsF in the font Canvas::makeFont makes for the item, at 96 dpi: exactly
// the measures the drawing will use.
class FontMetricsMeasurer : public TextMeasurer
{
public:
    QSizeF measure(const TextItem &font, const QString &text) const override;
};
