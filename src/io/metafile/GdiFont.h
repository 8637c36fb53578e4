#pragma once

#include <QString>

// A logical font as a metafile creates it. Heights are in logical units: negative for the
// character (em) height, positive for the cell height, 0 for the default size.
struct GdiFont
{
    int height = 0;
    int width = 0;
    int escapement = 0; // tenths of a degree, counterclockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1; // DEFAULT_CHARSET
    int pitchAndFamily = 0;
    QString face;
};
