#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Windows Metafiles (16-bit records), with or without the placeable header.
class WmfPlayer
{
public:
    // The first four bytes of a placeable metafile (libUEMF names no constant for it).
    static constexpr quint32 PlaceableKey = 0x9AC6CDD7;

    struct Info
    {
        QSize size; // natural size in pixels
        bool placeable = false;
        QRect bounds;     // placeable bounding box, logical units
        QPoint windowExt; // first SetWindowExt of a file without placeable header
        qsizetype firstRecord = 0;
        int objectCount = 0;
    };

    // Reads the headers and the natural size; false with an error when they are damaged.
    static bool readInfo(QByteArrayView data, Info *info, QString *error);

    // Plays the records onto image (already of the natural size and white). False with an error
    // when the record stream is damaged or asks for too much work; the image is then unusable.
    static bool play(QByteArrayView data, const Info &info, QImage *image, QString *error);
};
