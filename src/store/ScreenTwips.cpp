#include "ScreenTwips.h"

#include <QGuiApplication>
#include <QScreen>

ScreenTwips ScreenTwips::primary()
{
    ScreenTwips twips;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen && screen->logicalDotsPerInchX() > 0 && screen->logicalDotsPerInchY() > 0) {
        twips.x = 1440.0 / screen->logicalDotsPerInchX();
        twips.y = 1440.0 / screen->logicalDotsPerInchY();
    }
    return twips;
}
