#include "ColorChooser.h"

#include "PlatformServices.h"
#include "common/ColorRef.h"

#include <QCoreApplication>
#include <QVariant>
#include <QWidget>

namespace {

// The standard colours, 0x00BBGGRR.
constexpr qint32 StandardColors[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// The colour property of the editing panel's swatches.
constexpr const char *ColorProperty = "color";

} // namespace

namespace ColorChooser {

QString colorDialogTitle()
{
    return QCoreApplication::translate("ColorChooser", "色の選択");
}

QList<QColor> standardCustomColors()
{
    QList<QColor> colors;
    for (qint32 bgr : StandardColors)
        colors.append(ColorRef::toColor(bgr));
    return colors;
}

int chooseColor(QWidget *owner, PlatformServices &services, const QString &title,
                const QColor &start, QColor &chosen)
{
    const std::optional<QColor> answer =
        services.chooseColor(owner, start, title, standardCustomColors());
    // The picture has no transparency: only the colour's red, green and blue are kept.
    chosen = answer ? ColorRef::toColor(ColorRef::fromColor(*answer)) : start;
    return answer ? 1 : 0;
}

bool chooseSwatchColor(QWidget *owner, QWidget *swatch, PlatformServices &services)
{
    if (!swatch)
        return false;
    QColor chosen;
    if (chooseColor(owner, services, colorDialogTitle(), swatchColor(swatch), chosen) == 0)
        return false;
    setSwatchColor(swatch, chosen);
    return true;
}

QColor swatchColor(const QWidget *swatch)
{
    const QVariant value = swatch->property(ColorProperty);
    if (value.isValid())
        return ColorRef::toColor(value.toInt());
    return swatch->palette().color(swatch->backgroundRole());
}

void setSwatchColor(QWidget *swatch, const QColor &color)
{
    if (swatch->property(ColorProperty).isValid()) {
        swatch->setProperty(ColorProperty, ColorRef::fromColor(color));
        return;
    }
    QPalette palette = swatch->palette();
    palette.setColor(swatch->backgroundRole(), color);
    swatch->setPalette(palette);
    swatch->setAutoFillBackground(true);
}

} // namespace ColorChooser
