#pragma once

#include <QRect>

class QWidget;

// Window and control geometry is given in twips (1/1440 inch); the screen's twips per pixel turn it
// into pixels (15 at 96 dots per inch).
namespace Twips {

// Twips per pixel of the primary screen, as the main window uses them (store/ScreenTwips.h).
double perPixelX();
double perPixelY();

// Rounded to the nearest pixel.
int toPixels(int twips, double twipsPerPixel);
QRect toPixels(int left, int top, int width, int height, double twipsPerPixelX,
               double twipsPerPixelY);

// Places `widget` at a rectangle given in twips.
void place(QWidget *widget, int left, int top, int width, int height);

} // namespace Twips
