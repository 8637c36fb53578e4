#pragma once

#include "SkyCatalogue.h"
#include "Wcs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>

// A catalogue object placed in a solved picture.
struct FieldObject
{
    SkyObject object;
    bool fromCatalogue = true; // false: named by astrometry.net's NGC/IC list alone
    QPointF pixel;             // its centre in the picture's pixels
    double majorPixels = 0;    // the ellipse's diameters in pixels; 0 for a point
    double minorPixels = 0;
    double axisAngle = 0; // degrees of the major axis from the x axis toward the y axis
};

// The deep-sky objects in a solved picture: the program's catalogue and the NGC/IC list that
// astrometry.net draws from (plot-constellations), and the rule that names the picture's target.
namespace FieldObjects {

// An entry of astrometry.net's list: its names ("NGC 6523", "Lagoon Nebula", "M 8"), where it
// lies in the picture and its radius in pixels.
struct Listed
{
    QStringList names;
    QPointF pixel;
    double radius = 0;
};

// The list plot-constellations gives for the WCS; empty when the program is missing or fails.
QList<Listed> listed(const Wcs &wcs, const QString &program, const QDeadlineTimer &deadline,
                     const std::atomic_bool *cancel = nullptr);
// Reads the JSON plot-constellations -J writes (pixels counted from 1).
QList<Listed> parseListed(const QByteArray &json);

// The objects whose centres lie in the picture, the catalogue's first, then those of the list
// that the catalogue does not hold; largest first.
QList<FieldObject> inField(const Wcs &wcs, const SkyCatalogue &catalogue,
                           const QList<Listed> &listed);

// The object placed in the picture.
FieldObject place(const SkyObject &object, const Wcs &wcs);

// The object the picture is of: among the objects whose centre lies in the picture and whose
// major axis is at least TargetShare of the field's shorter side, the one nearest the
// picture's centre; of two whose distances differ by less than 1% of the shorter side, the
// larger. Nothing when none qualifies.
constexpr double TargetShare = 0.05;
std::optional<FieldObject> target(const QList<FieldObject> &objects, const Wcs &wcs);

// The objects a caption lists: those of at least ListedShare of the shorter side (or from the
// catalogue with no known size), largest first, at most MaxListed.
constexpr double ListedShare = 0.02;
constexpr int MaxListed = 8;
QList<FieldObject> named(const QList<FieldObject> &objects, const Wcs &wcs);

} // namespace FieldObjects
