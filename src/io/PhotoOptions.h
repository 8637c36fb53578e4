#pragma once

#include <QSize>

// How photos are brought to the picture: the display stretch of linear (FITS) data, and whether
// photos larger than a box are shrunk to fit it. The defaults change nothing: no shrinking, and
// the stretch applies to FITS photos alone.
struct PhotoOptions
{
    // The numbers are those of the settings file.
    enum class Stretch
    {
        Automatic = 0, // shadows clipped near the median, midtones so the median shows at 0.25
        Linear = 1,    // minimum to maximum
        None = 2       // the data type's range
    };

    Stretch stretch = Stretch::Automatic;
    bool shrink = false;
    QSize box{1600, 1200}; // within the photo sizes the layout takes

    // The size a photo of the natural size is shown at: fitted into the box, aspect ratio kept,
    // when it is larger and shrinking is on; else the natural size. Never larger than natural.
    QSize fittedSize(QSize natural) const;

    bool operator==(const PhotoOptions &) const = default;

    // The box brought inside the photo sizes the layout takes.
    static QSize boundedBox(QSize box);
};
