#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Window and control geometry is given in twips (1/1440 inch); the screen's twips per pixel turn
// it into pixels (15 at 96 dots per inch). Every window and dialog converts here.
namespace Twips {

struct PerPixel
{
    double x = 15.0;
    double y = 15.0;
};

// A control's rectangle: left, top, width, height.
struct Rect
{
    int left, top, width, height;
};

// Twips per pixel of the primary screen, from its logical dpi; 15 x 15 without a screen.
PerPixel screen();

// Rounded to the nearest pixel, and back to the nearest twip.
int toPixels(int twips, double perPixel);
qint32 fromPixels(int pixels, double perPixel);

// With the primary screen.
QSize toPixels(int width, int height);
QRect toPixels(const Rect &rect);

// Places `widget` at a rectangle given in twips.
void place(QWidget *widget, const Rect &rect);

} // namespace Twips
