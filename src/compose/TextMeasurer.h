#pragma once

#include <QSizeF>
#include <QString>

struct TextItem;

// Measures one line of text in a text item's font (name, size and the four styles; colour plays
// no part), in pixels on the 96-dpi canvas. The height is the font's line height, also for an
// empty text. Tests inject fixed measures; the program uses FontMetricsMeasurer.
class TextMeasurer
{
public:
    virtual ~TextMeasurer() = default;
    virtual QSizeF measure(const TextItem &font, const QString &text) const = 0;
};
