#pragma once

#include "PhotoOptions.h"

#include <QImage>
#include <QSize>
#include <QString>

// FITS photos through cfitsio: the first HDU that holds image data (the primary array or an
// IMAGE extension, tile-compressed ones included), mono or three planes (red, green, blue), or a
// colour-filter mosaic (BAYERPAT) shown in colour. Rows in the order ROWORDER gives, bottom-up
// when it is absent (pixel (1,1) at the lower left). NaN and infinite pixels are black.
namespace FitsImage {

// Width and height from the header alone. False with a reason when the file holds no image.
bool readSize(const QString &path, QSize *size, QString *reason);

// The image stretched for display: Format_Grayscale8 for mono data, Format_RGB32 for colour,
// top row first. A picture of more than maxPixels pixels is refused before anything is
// allocated. Null with a reason on failure.
QImage read(const QString &path, PhotoOptions::Stretch stretch, qint64 maxPixels, QString *reason);

} // namespace FitsImage
