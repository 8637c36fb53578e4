#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace Twips {

PerPixel screen()
{
    PerPixel twips;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary && primary->logicalDotsPerInchX() > 0 && primary->logicalDotsPerInchY() > 0) {
        twips.x = 1440.0 / primary->logicalDotsPerInchX();
        twips.y = 1440.0 / primary->logicalDotsPerInchY();
    }
    return twips;
}

int toPixels(int twips, double perPixel)
{
    return int(std::lround(twips / perPixel));
}

qint32 fromPixels(int pixels, double perPixel)
{
    return qint32(std::lround(pixels * perPixel));
}

QSize toPixels(int width, int height)
{
    const PerPixel twips = screen();
    return QSize(toPixels(width, twips.x), toPixels(height, twips.y));
}

QRect toPixels(const Rect &rect)
{
    const PerPixel twips = screen();
    return QRect(toPixels(rect.left, twips.x), toPixels(rect.top, twips.y),
                 toPixels(rect.width, twips.x), toPixels(rect.height, twips.y));
}

void place(QWidget *widget, const Rect &rect)
{
    widget->setGeometry(toPixels(rect));
}

} // namespace Twips
