#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

// What a photo file says about itself, for captions: FITS header keys (through cfitsio; in an XISF
// file its FITSKeyword elements and properties, XisfFile.h) or EXIF tags (through exiv2). Every
// value is plain one-line text: control characters out, blanks collapsed, at most MaxLength
// characters; numbers are checked and written without trailing zeros. A missing, empty or malformed
// value is absent.
class PhotoMetadata
{
    Q_DECLARE_TR_FUNCTIONS(PhotoMetadata)

public:
    static constexpr int MaxLength = 200;

    // The names, in the order they are listed: the FITS keys (EXPTIME also from EXPOSURE,
    // STACKCNT also from NCOMBINE), then the EXIF tags (ISO is ISOSpeedRatings).
    static const QStringList &names();

    // Reads the FITS header of a FITS or XISF file or the EXIF of a JPEG, TIFF or PNG file; any
    // other picture has no data. False, with *error naming the file, only when it cannot be read.
    static bool read(const QString &path, PhotoMetadata *data, QString *error = nullptr);

    // The text of a FITS card's value as written: a quoted string unquoted ('' for a quote),
    // anything else as it stands.
    static QString fitsText(QByteArrayView raw);

    // The value of a name, whatever its letter case; empty when absent.
    QString value(const QString &name) const;
    bool isEmpty() const { return m_values.isEmpty(); }

    // Stores the text cleaned as above; a text that cleans to nothing removes the name.
    void setValue(const QString &name, const QString &text);

    // A number as the values hold it: at most `decimals` decimals, no trailing zeros ("300",
    // "-9.9", "0.000125").
    static QString numberText(double value, int decimals = 6);

    // What places the picture on the sky, kept apart from the caption names: the FITS WCS keys
    // (CTYPEn, CRVALn, CRPIXn, CDi_j, PCi_j, CDELTn, CROTAn, the SIP terms), the pointing (RA,
    // DEC, OBJCTRA, OBJCTDEC), the pixel size (XPIXSZ, PIXSIZE, XBINNING), NAXISn and ROWORDER;
    // EXIF FocalPlaneXResolution, FocalPlaneResolutionUnit and PixelXDimension. Values as written
    // (strings unquoted), by upper-case key.
    const QHash<QString, QString> &skyValues() const { return m_sky; }
    QString skyValue(const QString &name) const { return m_sky.value(name.toUpper()); }
    void setSkyValue(const QString &name, const QString &text);

private:
    QHash<QString, QString> m_values; // by upper-case name
    QHash<QString, QString> m_sky;
};
