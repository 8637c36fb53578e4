#pragma once

#include <QFont>
#include <QImage>
#include <QString>

struct TextItem;

// Fonts and the canvas they are measured and drawn on: 96 dpi, no antialiasing.
namespace CanvasFont {

constexpr int Dpi = 96;
constexpr int DotsPerMeter = 3780; // 96 dpi
constexpr qint32 MinPointSize = 1;
constexpr qint32 MaxPointSize = 2048;

// The item's font: face, size in points (as whole pixels at 96 dpi, as the Windows canvas
// rounds it), bold, italic, strikethrough, underline. False, with the reason in *error, when the
// size is outside MinPointSize..MaxPointSize (the canvas refuses it).
bool make(const TextItem &item, QFont *font, QString *error);

// A Format_RGB32 image at 96 dpi, the kind every canvas is.
QImage makeCanvas(int width, int height);

} // namespace CanvasFont
