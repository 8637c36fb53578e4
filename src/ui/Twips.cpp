#include "Twips.h"

#include "store/ScreenTwips.h"

#include <QWidget>

#include <cmath>

namespace Twips {

double perPixelX()
{
    return ScreenTwips::primary().x;
}

double perPixelY()
{
    return ScreenTwips::primary().y;
}

int toPixels(int twips, double twipsPerPixel)
{
    return int(std::lround(twips / twipsPerPixel));
}

QRect toPixels(int left, int top, int width, int height, double twipsPerPixelX,
               double twipsPerPixelY)
{
    return QRect(toPixels(left, twipsPerPixelX), toPixels(top, twipsPerPixelY),
                 toPixels(width, twipsPerPixelX), toPixels(height, twipsPerPixelY));
}

void place(QWidget *widget, int left, int top, int width, int height)
{
    const ScreenTwips twips = ScreenTwips::primary();
    widget->setGeometry(toPixels(left, top, width, height, twips.x, twips.y));
}

} // namespace Twips
