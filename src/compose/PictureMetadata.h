#pragma once

#include "io/PictureXmp.h"
#include "sky/Wcs.h"

#include <QDateTime>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

class PhotoMetadata;
struct FrameDescription;

// What a saved picture says about itself, as plain values: the caption's texts, when and by whom
// the photo was taken, and, when the photo is plate solved, where it lies on the sky. The window
// and the command line fill it from the composition; a solve fills photoWcs.
struct PictureMetadata
{
    QString title;                // the target line
    QStringList descriptionLines; // the date line and the footer lines that have text
    QDateTime date;               // when the photo was taken; invalid when unknown
    QString creator;              // the observer; empty when unknown
    std::optional<Wcs> photoWcs;  // of the photo's own pixels (Wcs::imageSize() of them)
    QRectF photoRect;             // where those pixels sit in the picture, scaled to fit it
    QSize pictureSize;            // the whole framed picture

    // "Morvel" and the version: the program that wrote the picture.
    static QString creatorTool();

    // The texts of the frame, the date and the observer of the photo's data: DATE-OBS (UTC),
    // DATE-LOC or EXIF's DateTimeOriginal for the date, OBSERVER or EXIF's Artist for the creator.
    static PictureMetadata of(const FrameDescription &frame, const PhotoMetadata &data);

    // The WCS of a FITS photo's own header (rows turned as the photo is shown); nothing for a
    // photo without one.
    static std::optional<Wcs> headerWcs(const PhotoMetadata &data);

    // The photo's WCS moved and scaled to the photo's place in the picture, in AVM's terms
    // (FITS pixels of the whole picture, scale and rotation of the linear part; SIP distortion
    // has no AVM tag). Nothing without a usable WCS and placement.
    std::optional<PictureXmp::Spatial> spatial() const;

    // The XMP packet of these values.
    PictureXmp xmp() const;
};
