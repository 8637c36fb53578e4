#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <fitsio.h>
#include <vector>

// FITS files written by cfitsio, for the tests, the fuzz seeds and the benchmark's photo.
namespace FitsWriter {

struct Image
{
    int type = SHORT_IMG;        // cfitsio's image type; USHORT_IMG writes BZERO 32768
    QList<long> axes;            // NAXIS1, NAXIS2 [, NAXIS3]
    std::vector<double> values;  // in file order
    QStringList keys;            // "NAME=value": a number when it reads as one, else a string
    bool tileCompressed = false; // Rice, 16-bit signed images only
    bool inExtension = false;    // an empty primary HDU, the image in the IMAGE extension after it
};

inline bool write(const QString &path, const Image &image)
{
    QFile::remove(path);
    fitsfile *f = nullptr;
    int status = 0;
    fits_create_diskfile(&f, QFile::encodeName(path).constData(), &status);
    if (image.inExtension)
        fits_create_img(f, BYTE_IMG, 0, nullptr, &status);
    if (image.tileCompressed)
        fits_set_compression_type(f, RICE_1, &status);
    std::vector<long> axes(image.axes.begin(), image.axes.end());
    fits_create_img(f, image.type, int(axes.size()), axes.data(), &status);
    for (const QString &key : image.keys) {
        const QString name = key.section(u'=', 0, 0);
        const QByteArray text = key.section(u'=', 1).toLatin1();
        bool number = false;
        double value = text.toDouble(&number);
        if (number)
            fits_update_key(f, TDOUBLE, name.toLatin1().constData(), &value, nullptr, &status);
        else
            fits_update_key(f, TSTRING, name.toLatin1().constData(),
                            const_cast<char *>(text.constData()), nullptr, &status);
    }
    std::vector<long> first(axes.size(), 1);
    // A compressed image takes its own type only (tileCompressed is for 16-bit images).
    std::vector<short> shorts(image.values.begin(), image.values.end());
    fits_write_pix(f, image.tileCompressed ? TSHORT : TDOUBLE, first.data(),
                   LONGLONG(image.values.size()),
                   image.tileCompressed ? static_cast<void *>(shorts.data())
                                        : const_cast<double *>(image.values.data()),
                   &status);
    int closing = 0;
    fits_close_file(f, &closing);
    return status == 0 && closing == 0;
}

} // namespace FitsWriter
