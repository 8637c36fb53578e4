#pragma once

#include <QFont>
#include <QImage>
#include <QString>

struct TextItem;

// The canvas every picture is drawn on (Format_RGB32, 96 dpi, no antialiasing), its fonts and
// its colours.
namespace Canvas {

constexpr int Dpi = 96;
constexpr int DotsPerMeter = 3780; // 96 dpi
constexpr qint32 MinPointSize = 1;
constexpr qint32 MaxPointSize = 2048;

// The item's font: face, size in points (whole pixels at 96 dpi, as the Windows canvas rounds
// it), bold, italic, strikethrough, underline, no antialiasing. False, with the reason in *error,
// when the size is outside MinPointSize..MaxPointSize, which the canvas refuses.
bool makeFont(const TextItem &item, QFont *font, QString *error);

// A Format_RGB32 image at 96 dpi. Null when the size cannot be allocated.
QImage makeImage(int width, int height);

} // namespace Canvas
