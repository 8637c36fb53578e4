#pragma once

#include "compose/TextItem.h"
#include "compose/TextMeasurer.h"

#include <QHash>

// Fixed measures: each text has the size set for it; an unknown or empty text is 0 wide and as
// high as the line height set for its font size.
class FixedMeasurer : public TextMeasurer
{
public:
    QHash<QString, QSizeF> sizes;
    QHash<qint32, qreal> lineHeights;

    QSizeF measure(const TextItem &font, const QString &text) const override
    {
        if (sizes.contains(text))
            return sizes.value(text);
        return {0, lineHeights.value(font.FontSize, 16)};
    }
};
