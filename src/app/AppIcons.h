#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

// The program's own pictures, drawn in code so that they stay sharp and consistent: the toolbar
// icons (the image list `ImageList`), the alignment icons (`imlAlign`), the picture of
// `cmdPreview`, the layout illustration of `picDemo` and the application icon.
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

// The application icon at one size, for the installed icon files.
QImage applicationImage(int size);

} // namespace AppIcons
