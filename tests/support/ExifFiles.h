#pragma once

#include <QDebug>
#include <QImage>
#include <QList>
#include <QString>
#include <utility>

#include <exiv2/exiv2.hpp>

// Photos with EXIF tags, written by exiv2 (tests that use this link exiv2 themselves).
namespace ExifFiles {

using Tags = QList<std::pair<const char *, QByteArray>>; // {"Exif.Image.Model", "Camera A"}

// The tags put into an existing JPEG or TIFF.
inline bool addTags(const QString &path, const Tags &tags)
{
    try {
        auto picture = Exiv2::ImageFactory::open(path.toStdString());
        Exiv2::ExifData exif;
        for (const auto &[key, text] : tags)
            exif[key] = text.toStdString();
        picture->setExifData(exif);
        picture->writeMetadata();
    } catch (const std::exception &e) {
        qWarning() << e.what();
        return false;
    }
    return true;
}

// A grey picture, JPEG or TIFF by the name's extension, holding the tags.
inline bool write(const QString &path, const Tags &tags, QSize size = QSize(60, 60))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image.save(path) && addTags(path, tags);
}

} // namespace ExifFiles
