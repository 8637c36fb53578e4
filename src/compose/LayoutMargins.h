#pragma once

#include "io/PhotoOptions.h"

#include <QtGlobal>

class AppSettings;

// The four layout margins of the settings, in pixels, read afresh for every composition.
struct LayoutMargins
{
    qint32 marginFrameHBorder = 20; // sizes the canvas around the border
    qint32 marginFontVBorder = 10;  // canvas top and bottom edges to the text
    qint32 marginFontHBorder = 10;  // canvas left and right edges to the text
    qint32 marginFontVFrame = 5;    // text to border, above and below it

    static LayoutMargins fromSettings(const AppSettings &settings);
};

// The stretch and shrinking of photos in the settings; a box outside the photo sizes the layout
// takes is brought inside them, a stretch this program does not know is the automatic one.
PhotoOptions photoOptionsFromSettings(const AppSettings &settings);
