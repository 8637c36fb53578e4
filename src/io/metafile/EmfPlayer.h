#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Enhanced Metafiles (32-bit records).
class EmfPlayer
{
public:
    struct Info
    {
        QSize size;  // natural size in pixels
        QRect frame; // rclFrame, 0.01 mm, as given (right and bottom inclusive)
        double devicePerHundredthMmX = 0;
        double devicePerHundredthMmY = 0;
        int handleCount = 0;
    };

    static bool readInfo(QByteArrayView data, Info *info, QString *error);
    static bool play(QByteArrayView data, const Info &info, QImage *image, QString *error);
};
