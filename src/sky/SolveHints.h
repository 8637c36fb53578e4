#pragma once

#include "Wcs.h"

#include <QSize>
#include <QString>
#include <optional>

class PhotoMetadata;
class SkyCatalogue;
struct SkyObject;

// What is known of a photo's place on the sky before it is solved, best first: a WCS in its
// FITS header (no solve needed), the pointing from RA/DEC or OBJCTRA/OBJCTDEC, the typed target
// found in the catalogue, and the scale from the focal length and the pixel size.
struct SolveHints
{
    // Where the scale of a picture may lie beyond the one computed: shrunk up to this many times
    // after the exposure (an exported JPEG), or binned.
    static constexpr double MaxShrink = 4;

    std::optional<Wcs> headerWcs; // in the pixels of the picture as decoded
    std::optional<SkyPoint> position;
    double radius = 0;   // degrees around the position to search
    double scaleLow = 0; // arcseconds per pixel of the picture as decoded; 0 when unknown
    double scaleHigh = 0;
    QString targetName;                // as typed (or OBJECT)
    const SkyObject *target = nullptr; // the typed target in the catalogue, if it is there

    bool hasScale() const { return scaleLow > 0 && scaleHigh >= scaleLow; }

    // The hints of a photo's data for the picture as decoded (imageSize: the photo may have been
    // shrunk when decoded). targetName is the typed target, OBJECT when empty. focalLength (mm)
    // and pixelSize (µm) are the camera's when the user set them; 0 otherwise.
    static SolveHints fromMetadata(const PhotoMetadata &data, const QSize &imageSize,
                                   const QString &targetName, const SkyCatalogue &catalogue,
                                   double focalLength = 0, double pixelSize = 0);

    // A text that tells these hints apart, for the cache key.
    QString cacheKey() const;
};
