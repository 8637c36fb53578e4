#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

// The program's own pictures, SVG files in the resource ":/icons": the toolbar icons (the image
// list `ImageList`), the alignment icons (`imlAlign`), the picture of `cmdPreview`, the layout
// illustration of `picDemo` and the application icon. Each is drawn at the sizes it is shown at.
namespace AppIcons {

// Colours of the five text items' markers: blue, red, green, yellow, cyan.
QColor itemColor(int item);

// By toolbar key ("TbOpenTmp" ... "TbSavePhoto"); a null icon for an unknown key.
QIcon toolbarIcon(const char *key);

// Image n (1 to 5) of `imlAlign`: left, centre, right, left of the item above, right of it.
QIcon alignIcon(int image);

QIcon previewIcon();

// 112 x 113 pixels: a dark picture with a white-bordered photo and the five item bars.
QImage layoutIllustration();

QIcon applicationIcon();

} // namespace AppIcons
