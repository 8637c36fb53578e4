#pragma once

#include <QByteArray>
#include <QPointF>
#include <QSize>
#include <QString>
#include <optional>

// What a written PNG or JPEG says about itself in its XMP packet: title, description and creator
// (Dublin Core), the date the photo was taken, the program that wrote it, and where the picture
// lies on the sky as the Astronomy Visualization Metadata's Spatial tags. Empty texts are left out.
struct PictureXmp
{
    static constexpr const char *AvmNamespace = "http://www.communicatingastronomy.org/avm/1.0/";

    // The picture on the sky in AVM's terms: a TAN projection in ICRS (equinox J2000) with its
    // reference point, the FITS pixel it falls on (1-based, x to the right, y up from the bottom
    // row), the scale (degrees per pixel, as CDELT1 and CDELT2) and the rotation (degrees, as
    // CROTA2) of a picture of the given size.
    struct Spatial
    {
        double ra = 0;
        double dec = 0;
        QPointF referencePixel;
        QSize dimension;
        double scaleX = 0;
        double scaleY = 0;
        double rotation = 0;
    };

    QString title;
    QString description; // lines joined by "\n"
    QString createDate;  // ISO 8601
    QString creator;
    QString creatorTool;
    std::optional<Spatial> spatial;

    // Adds this packet to an encoded PNG or JPEG, keeping what the file holds (its colour
    // profile). False, with *error set and the bytes unchanged, when exiv2 refuses them.
    bool embed(QByteArray *bytes, QString *error) const;
};
