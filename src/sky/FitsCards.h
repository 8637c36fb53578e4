#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <utility>

// The 80-character cards of a FITS header, read and written without cfitsio: the WCS files of
// astrometry.net, the solve cache and the small grey image handed to solve-field.
namespace FitsCards {

using Card = std::pair<QString, QString>; // key, value as written (a string quoted)

// The values of the first header's cards by upper-case key: strings unquoted, numbers as
// written, comments dropped. Empty when the bytes hold no header ending in END.
QHash<QString, QString> parse(const QByteArray &header);

// A header of the cards, ending in END and padded to whole 2880-byte blocks.
QByteArray write(const QList<Card> &cards);

QString number(double value);        // "-24.380166666667", "1.5E-05"
QString string(const QString &text); // "'RA---TAN'"
QString boolean(bool value);         // "T", "F"

// A FITS file of an 8-bit grey image, rows top to bottom as the image holds them.
QByteArray greyImage(const QByteArray &pixels, int width, int height);

} // namespace FitsCards
