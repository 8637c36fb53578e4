#include "PictureMetadata.h"

#include "CaptionFill.h"
#include "FrameDescription.h"
#include "io/PhotoMetadata.h"

#include <cmath>
#include <numbers>

QString PictureMetadata::creatorTool()
{
    return QStringLiteral("Morvel " MORVEL_VERSION);
}

PictureMetadata PictureMetadata::of(const FrameDescription &frame, const PhotoMetadata &data)
{
    PictureMetadata m;
    m.title = frame.textItems[0].text;
    for (int i = 1; i < FrameDescription::ItemCount; ++i) {
        if (!frame.textItems[i].text.trimmed().isEmpty())
            m.descriptionLines << frame.textItems[i].text;
    }
    if (const auto taken = CaptionFill::siteTime(data))
        m.date = *taken;
    m.creator = data.value(QStringLiteral("OBSERVER"));
    if (m.creator.isEmpty())
        m.creator = data.value(QStringLiteral("Artist"));
    return m;
}

std::optional<Wcs> PictureMetadata::headerWcs(const PhotoMetadata &data)
{
    const bool bottomUp = data.skyValue(QStringLiteral("ROWORDER")) != QLatin1String("TOP-DOWN");
    return Wcs::fromHeader(data.skyValues(), QSize(), bottomUp);
}

std::optional<PictureXmp::Spatial> PictureMetadata::spatial() const
{
    if (!photoWcs || !photoWcs->isValid() || photoRect.isEmpty() || pictureSize.isEmpty())
        return std::nullopt;
    const QSize own = photoWcs->imageSize();
    const Wcs w =
        photoWcs->transformed(photoRect.width() / own.width(), photoRect.height() / own.height(),
                              photoRect.topLeft(), pictureSize);
    // FITS pixels count rows up from the bottom one, which turns the matrix's second column.
    const auto &cd = w.cd();
    const double m11 = cd[0], m12 = -cd[1], m21 = cd[2], m22 = -cd[3];
    // CD = (CDELT1 cos r, -CDELT2 sin r; CDELT1 sin r, CDELT2 cos r), a mirrored picture with
    // CDELT1 > 0. A slight skew is shared between the two columns' angles.
    const double scaleY = std::hypot(m12, m22);
    const double scaleX = std::copysign(std::hypot(m11, m21), m11 * m22 - m12 * m21);
    const double angleY = std::atan2(-m12, m22);
    const double angleX = std::atan2(m21 / scaleX, m11 / scaleX);
    const double angle = angleY + std::remainder(angleX - angleY, 2 * std::numbers::pi) / 2;

    PictureXmp::Spatial s;
    s.ra = w.reference().ra;
    s.dec = w.reference().dec;
    s.referencePixel =
        QPointF(w.referencePixel().x() + 0.5, pictureSize.height() + 0.5 - w.referencePixel().y());
    s.dimension = pictureSize;
    s.scaleX = scaleX;
    s.scaleY = scaleY;
    s.rotation = angle * 180 / std::numbers::pi;
    return s;
}

PictureXmp PictureMetadata::xmp() const
{
    PictureXmp x;
    x.title = title;
    x.description = descriptionLines.join(QLatin1Char('\n'));
    if (date.isValid())
        x.createDate = date.toOffsetFromUtc(date.offsetFromUtc()).toString(Qt::ISODate);
    x.creator = creator;
    x.creatorTool = creatorTool();
    x.spatial = spatial();
    return x;
}
