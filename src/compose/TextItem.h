#pragma once

#include <QString>

// One of the five texts of the picture: 0 target name, 1 date and time, 2 to 4 footer lines.
// Colours are 0x00BBGGRR. The two measured fields are written by the layout.
struct TextItem
{
    QString Text;
    QString FontName;
    qint32 FontSize = 0; // points
    qint32 FontColor = 0;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethru = false;
    bool FontUnderline = false;
    // Footer items only: 0 left, 1 centre, 2 right, 3 left edge of the footer item above,
    // 4 right edge of the footer item above; anything else is left.
    qint32 FontAlign = 0;
    qint32 MeasuredHeight = 0; // pixels, the font's line height even for an empty text
    qint32 MeasuredWidth = 0;  // pixels
};
