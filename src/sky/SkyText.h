#pragma once

#include <QString>
#include <optional>

// Coordinates and field sizes as texts: read from FITS keys and typed values, written for
// captions.
namespace SkyText {

// Right ascension in degrees from "18 06 09.5", "18:06:09", "18h06m09s" (hours) or a plain
// number (degrees, as the RA key holds it). Nothing for anything else or out of range.
std::optional<double> parseRa(const QString &text);
// Declination in degrees from "-24 04 43", "+24:04:43", "−24°04′43″" or a plain number.
std::optional<double> parseDec(const QString &text);

QString raText(double degrees);                 // "18h06m09s"
QString decText(double degrees);                // "−24°04′43″", "+05°30′00″"
QString fieldText(double width, double height); // "2.41°×1.60°", below 1° "42.5′×28.3′"
QString scaleText(double arcsecPerPixel);       // "8.47″/px"
QString angleText(double degrees);              // "12.3°"

} // namespace SkyText
