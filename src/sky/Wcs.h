#pragma once

#include "FitsCards.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// A place on the sky: right ascension and declination in degrees (J2000).
struct SkyPoint
{
    double ra = 0;
    double dec = 0;
};

// The angle between two places on the sky, in degrees.
double skyDistance(const SkyPoint &a, const SkyPoint &b);
// The position angle of b seen from a, in degrees from north through east, 0 to 360.
double positionAngle(const SkyPoint &a, const SkyPoint &b);

// A SIP distortion polynomial: the coefficient of u^p v^q at [p][q], for p + q <= order.
struct SipPolynomial
{
    int order = 0;
    std::vector<std::vector<double>> terms;

    bool isEmpty() const { return order < 2; }
    double at(double u, double v) const;
};

// Where a picture's pixels lie on the sky: a gnomonic (TAN) projection with optional SIP
// distortion, as FITS headers and astrometry.net write it. Pixel positions are QImage
// coordinates of the picture the WCS describes: x to the right, y down, the centre of the top
// left pixel at (0.5, 0.5).
class Wcs
{
public:
    Wcs() = default;
    // The reference point on the sky, the pixel it falls on and the CD matrix (degrees per pixel,
    // row by row: CD1_1, CD1_2, CD2_1, CD2_2) of a picture of the given size.
    Wcs(const SkyPoint &reference, const QPointF &referencePixel, const std::array<double, 4> &cd,
        const QSize &imageSize);

    // The view of a camera: the picture's centre on the sky, its scale in arcseconds per pixel,
    // the position angle of its up direction (degrees east of north) and whether it is
    // mirrored.
    static Wcs fromView(const SkyPoint &centre, double arcsecPerPixel, double upAngle,
                        bool mirrored, const QSize &imageSize);

    // The WCS of FITS header values (upper-case keys): CTYPE1/2 RA---TAN and DEC--TAN, with or
    // without -SIP, CRVALn, CRPIXn and CDi_j, PCi_j with CDELTn, or CDELTn with CROTA2; SIP
    // terms A_p_q, B_p_q, AP_p_q, BP_p_q. The size comes from IMAGEW/IMAGEH or NAXIS1/NAXIS2
    // unless given. A header written bottom row first (FITS's own order) has its rows turned so
    // that y runs down the picture as shown. Nothing for a header without a usable TAN WCS.
    static std::optional<Wcs> fromHeader(const QHash<QString, QString> &values,
                                         QSize imageSize = QSize(), bool bottomUp = false);
    // The header cards of this WCS, rows top to bottom, with IMAGEW and IMAGEH.
    QList<FitsCards::Card> headerCards() const;

    bool isValid() const { return m_size.isValid() && m_det != 0; }
    // The terms of the constructor: the reference point, its pixel and the CD matrix.
    SkyPoint reference() const { return m_reference; }
    QPointF referencePixel() const { return m_referencePixel; }
    const std::array<double, 4> &cd() const { return m_cd; }
    QSize imageSize() const { return m_size; }
    bool hasDistortion() const { return !m_a.isEmpty() || !m_b.isEmpty(); }

    SkyPoint pixelToSky(const QPointF &pixel) const;
    // The pixel of a place; nothing for a place 90 degrees or more from the reference point.
    std::optional<QPointF> skyToPixel(const SkyPoint &sky) const;

    SkyPoint centre() const;
    double fieldWidth() const;  // degrees, across the middle of the picture
    double fieldHeight() const; // degrees
    double pixelScale() const;  // arcseconds per pixel at the reference point
    // The position angle of the picture's up direction at its centre, degrees east of north
    // (0 to 360): 0 when north is up, 90 when east is up.
    double upAngle() const;
    // A mirrored picture has east and north clockwise from each other (a normal view of the
    // sky, north up, has east on the left).
    bool isMirrored() const { return m_det < 0; }

    // The same sky in a picture whose pixels are those of this one scaled by (sx, sy) and moved
    // by offset: p' = (sx p.x, sy p.y) + offset, of the given size (a shrunk or placed photo,
    // rows turned with a negative sy).
    Wcs transformed(double sx, double sy, const QPointF &offset, const QSize &imageSize) const;

    void setDistortion(const SipPolynomial &a, const SipPolynomial &b, const SipPolynomial &ap,
                       const SipPolynomial &bp);

private:
    QPointF intermediate(const QPointF &pixel) const;
    void updateInverse();

    SkyPoint m_reference;
    QPointF m_referencePixel;
    std::array<double, 4> m_cd{};
    std::array<double, 4> m_cdInverse{};
    double m_det = 0;
    QSize m_size;
    SipPolynomial m_a, m_b, m_ap, m_bp;
};
