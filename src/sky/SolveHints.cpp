#include "SolveHints.h"

#include "SkyCatalogue.h"
#include "SkyText.h"
#include "io/PhotoMetadata.h"

#include <cmath>

namespace {

constexpr double kArcsecPerRadian = 206264.806;
// How far the scale computed from the optics may be off (focal lengths are nominal).
constexpr double kScaleSlack = 0.1;
// The search radius around a position when the field's size is unknown.
constexpr double kWideRadius = 10;

double positive(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) && v > 0 ? v : 0;
}

// Millimetres of EXIF's FocalPlaneResolutionUnit: 2 inch, 3 cm, 4 mm, 5 µm.
double unitMillimetres(const QString &unit)
{
    switch (unit.toInt()) {
    case 2:
        return 25.4;
    case 3:
        return 10;
    case 4:
        return 1;
    case 5:
        return 0.001;
    default:
        return 0;
    }
}

} // namespace

SolveHints SolveHints::fromMetadata(const PhotoMetadata &data, const QSize &imageSize,
                                    const QString &targetName, const SkyCatalogue &catalogue,
                                    double focalLength, double pixelSize)
{
    SolveHints h;
    if (imageSize.isEmpty())
        return h;
    const auto &sky = data.skyValues();
    // The file's own pixels, of which the picture may be a shrunk copy.
    const QSize native(int(positive(data.skyValue(QStringLiteral("NAXIS1")))),
                       int(positive(data.skyValue(QStringLiteral("NAXIS2")))));
    const bool isFits = !native.isEmpty();
    const double shrink = isFits ? double(native.width()) / imageSize.width() : 1.0;

    if (isFits) {
        const bool bottomUp =
            data.skyValue(QStringLiteral("ROWORDER")) != QLatin1String("TOP-DOWN");
        if (const auto wcs = Wcs::fromHeader(sky, native, bottomUp))
            h.headerWcs = wcs->transformed(double(imageSize.width()) / native.width(),
                                           double(imageSize.height()) / native.height(),
                                           QPointF(0, 0), imageSize);
    }

    // Scale: the camera's pixel over the focal length, per pixel of the decoded picture.
    const double focal = positive(data.value(QStringLiteral("FOCALLEN")));
    double pitch = positive(data.skyValue(QStringLiteral("XPIXSZ")));
    for (const char *key : {"PIXSIZE", "PIXSIZE1"})
        pitch = pitch > 0 ? pitch : positive(data.skyValue(QLatin1String(key)));
    const double exifFocal = positive(data.value(QStringLiteral("FocalLength")));
    const double resolution = positive(data.skyValue(QStringLiteral("FocalPlaneXResolution")));
    const double unit = unitMillimetres(data.skyValue(QStringLiteral("FocalPlaneResolutionUnit")));
    if (focal > 0 && pitch > 0) {
        // XPIXSZ is usually the binned pixel, PIXSIZE the sensor's: binning widens the range.
        const double binning = std::max(1.0, positive(data.value(QStringLiteral("XBINNING"))));
        const double scale = kArcsecPerRadian * pitch * 1e-3 / focal * shrink;
        h.scaleLow = scale * (1 - kScaleSlack);
        h.scaleHigh = scale * (1 + kScaleSlack) * binning;
    } else {
        double scale = 0;
        if (exifFocal > 0 && resolution > 0 && unit > 0) {
            const double sensorWidth = positive(data.skyValue(QStringLiteral("PixelXDimension")));
            scale = kArcsecPerRadian * (unit / resolution) / exifFocal *
                    std::max(1.0, sensorWidth / imageSize.width());
        } else if (focalLength > 0 && pixelSize > 0) {
            scale = kArcsecPerRadian * pixelSize * 1e-3 / focalLength;
        }
        if (scale > 0) {
            h.scaleLow = scale * (1 - kScaleSlack);
            h.scaleHigh = scale * (1 + kScaleSlack) * MaxShrink;
        }
    }
    const double diagonal =
        h.hasScale() ? h.scaleHigh * std::hypot(imageSize.width(), imageSize.height()) / 3600 : 0;

    // Position: the pointing the file gives, else the target in the catalogue.
    h.targetName = targetName.trimmed().isEmpty() ? data.value(QStringLiteral("OBJECT"))
                                                  : targetName.trimmed();
    h.target = h.targetName.isEmpty() ? nullptr : catalogue.find(h.targetName);
    for (const auto &[raKey, decKey] : {std::pair("RA", "DEC"), std::pair("OBJCTRA", "OBJCTDEC")}) {
        const auto ra = SkyText::parseRa(data.skyValue(QLatin1String(raKey)));
        const auto dec = SkyText::parseDec(data.skyValue(QLatin1String(decKey)));
        if (ra && dec) {
            h.position = SkyPoint{*ra, *dec};
            h.radius = diagonal > 0 ? 1 + diagonal / 2 : kWideRadius;
            break;
        }
    }
    if (!h.position && h.target) {
        h.position = h.target->position;
        h.radius = diagonal > 0 ? 1 + diagonal : kWideRadius;
    }
    return h;
}

QString SolveHints::cacheKey() const
{
    QString key = QStringLiteral("scale %1 %2").arg(scaleLow, 0, 'g', 6).arg(scaleHigh, 0, 'g', 6);
    if (position)
        key += QStringLiteral(" position %1 %2 %3")
                   .arg(position->ra, 0, 'f', 5)
                   .arg(position->dec, 0, 'f', 5)
                   .arg(radius, 0, 'g', 6);
    return key;
}
