#pragma once

#include <QtGlobal>

class clsNoltIO;

// The four layout margins of the settings, in pixels, read afresh for every composition.
struct LayoutMargins
{
    qint32 MarginFrameHBorder = 20; // sizes the canvas around the border
    qint32 MarginFontVBorder = 10;  // canvas top and bottom edges to the text
    qint32 MarginFontHBorder = 10;  // canvas left and right edges to the text
    qint32 MarginFontVFrame = 5;    // text to border, above and below it

    static LayoutMargins fromSettings(const clsNoltIO &settings);
};
