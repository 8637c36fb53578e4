#include "Wcs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRad = std::numbers::pi / 180;

std::optional<double> number(const QHash<QString, QString> &values, const QString &key)
{
    const auto it = values.constFind(key);
    if (it == values.constEnd())
        return std::nullopt;
    QString t = it->trimmed();
    t.replace(u'D', u'E').replace(u'd', u'e');
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// The terms of one SIP polynomial ("A", "AP", ...) from the header; empty without its order.
SipPolynomial sipFrom(const QHash<QString, QString> &values, const QString &name)
{
    SipPolynomial sip;
    const auto order = number(values, name + QStringLiteral("_ORDER"));
    if (!order || *order < 1 || *order > 9)
        return sip;
    sip.order = int(*order);
    sip.terms.assign(sip.order + 1, std::vector<double>(sip.order + 1, 0.0));
    for (int p = 0; p <= sip.order; ++p) {
        for (int q = 0; p + q <= sip.order; ++q)
            sip.terms[p][q] =
                number(values, QStringLiteral("%1_%2_%3").arg(name).arg(p).arg(q)).value_or(0.0);
    }
    return sip;
}

void sipCards(QList<FitsCards::Card> *cards, const SipPolynomial &sip, const QString &name)
{
    if (sip.isEmpty())
        return;
    cards->append({name + QStringLiteral("_ORDER"), QString::number(sip.order)});
    for (int p = 0; p <= sip.order; ++p) {
        for (int q = 0; p + q <= sip.order; ++q) {
            if (sip.terms[p][q] != 0)
                cards->append({QStringLiteral("%1_%2_%3").arg(name).arg(p).arg(q),
                               FitsCards::number(sip.terms[p][q])});
        }
    }
}

// The polynomial for pixels scaled by (sx, sy); `own` is the scale of the axis it corrects.
SipPolynomial scaledSip(SipPolynomial sip, double sx, double sy, double own)
{
    for (int p = 0; p <= sip.order && !sip.isEmpty(); ++p) {
        for (int q = 0; p + q <= sip.order; ++q)
            sip.terms[p][q] *= own / (std::pow(sx, p) * std::pow(sy, q));
    }
    return sip;
}

// "RA---TAN", "DEC--TAN-SIP": a gnomonic axis, with or without SIP distortion.
bool isTan(const QHash<QString, QString> &values, const QString &key, const QString &axis)
{
    const QString type = values.value(key).trimmed().toUpper();
    const QString tan = axis.leftJustified(4, u'-') + QStringLiteral("-TAN");
    return type == tan || type == tan + QStringLiteral("-SIP");
}

} // namespace

double skyDistance(const SkyPoint &a, const SkyPoint &b)
{
    const double s1 = std::sin((b.dec - a.dec) * kRad / 2);
    const double s2 = std::sin((b.ra - a.ra) * kRad / 2);
    const double h = s1 * s1 + std::cos(a.dec * kRad) * std::cos(b.dec * kRad) * s2 * s2;
    return 2 * std::asin(std::min(1.0, std::sqrt(h))) / kRad;
}

double positionAngle(const SkyPoint &a, const SkyPoint &b)
{
    const double d = (b.ra - a.ra) * kRad;
    const double y = std::sin(d) * std::cos(b.dec * kRad);
    const double x = std::cos(a.dec * kRad) * std::sin(b.dec * kRad) -
                     std::sin(a.dec * kRad) * std::cos(b.dec * kRad) * std::cos(d);
    const double angle = std::atan2(y, x) / kRad;
    return angle < 0 ? angle + 360 : angle;
}

double SipPolynomial::at(double u, double v) const
{
    if (isEmpty())
        return 0;
    double sum = 0;
    double up = 1;
    for (int p = 0; p <= order; ++p, up *= u) {
        double vq = 1;
        for (int q = 0; p + q <= order; ++q, vq *= v)
            sum += terms[p][q] * up * vq;
    }
    return sum;
}

Wcs::Wcs(const SkyPoint &reference, const QPointF &referencePixel, const std::array<double, 4> &cd,
         const QSize &imageSize)
    : m_reference(reference), m_referencePixel(referencePixel), m_cd(cd), m_size(imageSize)
{
    updateInverse();
}

Wcs Wcs::fromView(const SkyPoint &centre, double arcsecPerPixel, double upAngle, bool mirrored,
                  const QSize &imageSize)
{
    // Right is 90 degrees west of up for a normal view, east for a mirrored one; down is -up.
    const double s = arcsecPerPixel / 3600;
    const double c = std::cos(upAngle * kRad);
    const double n = std::sin(upAngle * kRad);
    const double side = mirrored ? 1 : -1;
    return Wcs(centre, QPointF(imageSize.width() / 2.0, imageSize.height() / 2.0),
               {side * s * c, -s * n, -side * s * n, -s * c}, imageSize);
}

std::optional<Wcs> Wcs::fromHeader(const QHash<QString, QString> &values, QSize imageSize,
                                   bool bottomUp)
{
    if (!isTan(values, QStringLiteral("CTYPE1"), QStringLiteral("RA")) ||
        !isTan(values, QStringLiteral("CTYPE2"), QStringLiteral("DEC")))
        return std::nullopt;
    const auto ra = number(values, QStringLiteral("CRVAL1"));
    const auto dec = number(values, QStringLiteral("CRVAL2"));
    const auto x = number(values, QStringLiteral("CRPIX1"));
    const auto y = number(values, QStringLiteral("CRPIX2"));
    if (!ra || !dec || !x || !y || std::fabs(*dec) > 90)
        return std::nullopt;
    if (!imageSize.isValid()) {
        const auto w = number(values, QStringLiteral("IMAGEW"))
                           .value_or(number(values, QStringLiteral("NAXIS1")).value_or(0));
        const auto h = number(values, QStringLiteral("IMAGEH"))
                           .value_or(number(values, QStringLiteral("NAXIS2")).value_or(0));
        imageSize = QSize(int(std::clamp(w, 0.0, 1e6)), int(std::clamp(h, 0.0, 1e6)));
    }
    if (imageSize.isEmpty())
        return std::nullopt;

    std::array<double, 4> cd{};
    const QString cdKeys[4] = {QStringLiteral("1_1"), QStringLiteral("1_2"), QStringLiteral("2_1"),
                               QStringLiteral("2_2")};
    bool hasCd = false;
    for (const QString &k : cdKeys)
        hasCd = hasCd || values.contains(QStringLiteral("CD") + k);
    const auto cdelt1 = number(values, QStringLiteral("CDELT1"));
    const auto cdelt2 = number(values, QStringLiteral("CDELT2"));
    if (hasCd) {
        for (int i = 0; i < 4; ++i)
            cd[i] = number(values, QStringLiteral("CD") + cdKeys[i]).value_or(0);
    } else if (cdelt1 && cdelt2) {
        bool hasPc = false;
        for (const QString &k : cdKeys)
            hasPc = hasPc || values.contains(QStringLiteral("PC") + k);
        if (hasPc) {
            for (int i = 0; i < 4; ++i)
                cd[i] = number(values, QStringLiteral("PC") + cdKeys[i]).value_or(i % 3 ? 0 : 1) *
                        (i < 2 ? *cdelt1 : *cdelt2);
        } else {
            const double rho = number(values, QStringLiteral("CROTA2")).value_or(0) * kRad;
            cd = {*cdelt1 * std::cos(rho), -*cdelt2 * std::sin(rho), *cdelt1 * std::sin(rho),
                  *cdelt2 * std::cos(rho)};
        }
    }
    Wcs fits({*ra, *dec}, QPointF(*x, *y), cd, imageSize);
    if (!fits.isValid())
        return std::nullopt;
    fits.setDistortion(sipFrom(values, QStringLiteral("A")), sipFrom(values, QStringLiteral("B")),
                       sipFrom(values, QStringLiteral("AP")),
                       sipFrom(values, QStringLiteral("BP")));
    // FITS pixel n has its centre at n; a file's first row is the picture's bottom row unless
    // it is written top-down.
    const double height = imageSize.height();
    return fits.transformed(1, bottomUp ? -1 : 1, QPointF(-0.5, bottomUp ? height + 0.5 : -0.5),
                            imageSize);
}

QList<FitsCards::Card> Wcs::headerCards() const
{
    using namespace FitsCards;
    const bool sip = hasDistortion();
    QList<Card> cards = {
        {QStringLiteral("WCSAXES"), QStringLiteral("2")},
        {QStringLiteral("CTYPE1"),
         string(sip ? QStringLiteral("RA---TAN-SIP") : QStringLiteral("RA---TAN"))},
        {QStringLiteral("CTYPE2"),
         string(sip ? QStringLiteral("DEC--TAN-SIP") : QStringLiteral("DEC--TAN"))},
        {QStringLiteral("EQUINOX"), number(2000)},
        {QStringLiteral("CRVAL1"), number(m_reference.ra)},
        {QStringLiteral("CRVAL2"), number(m_reference.dec)},
        {QStringLiteral("CRPIX1"), number(m_referencePixel.x() + 0.5)},
        {QStringLiteral("CRPIX2"), number(m_referencePixel.y() + 0.5)},
        {QStringLiteral("CD1_1"), number(m_cd[0])},
        {QStringLiteral("CD1_2"), number(m_cd[1])},
        {QStringLiteral("CD2_1"), number(m_cd[2])},
        {QStringLiteral("CD2_2"), number(m_cd[3])},
        {QStringLiteral("IMAGEW"), QString::number(m_size.width())},
        {QStringLiteral("IMAGEH"), QString::number(m_size.height())},
    };
    sipCards(&cards, m_a, QStringLiteral("A"));
    sipCards(&cards, m_b, QStringLiteral("B"));
    sipCards(&cards, m_ap, QStringLiteral("AP"));
    sipCards(&cards, m_bp, QStringLiteral("BP"));
    return cards;
}

QPointF Wcs::intermediate(const QPointF &pixel) const
{
    const double u = pixel.x() - m_referencePixel.x();
    const double v = pixel.y() - m_referencePixel.y();
    const double du = u + m_a.at(u, v);
    const double dv = v + m_b.at(u, v);
    return {m_cd[0] * du + m_cd[1] * dv, m_cd[2] * du + m_cd[3] * dv};
}

SkyPoint Wcs::pixelToSky(const QPointF &pixel) const
{
    const QPointF w = intermediate(pixel);
    const double xi = w.x() * kRad;
    const double eta = w.y() * kRad;
    const double d0 = m_reference.dec * kRad;
    const double denominator = std::cos(d0) - eta * std::sin(d0);
    double ra = m_reference.ra + std::atan2(xi, denominator) / kRad;
    const double dec =
        std::atan2(eta * std::cos(d0) + std::sin(d0), std::hypot(xi, denominator)) / kRad;
    ra = std::fmod(ra, 360.0);
    return {ra < 0 ? ra + 360 : ra, dec};
}

std::optional<QPointF> Wcs::skyToPixel(const SkyPoint &sky) const
{
    const double d0 = m_reference.dec * kRad;
    const double d = sky.dec * kRad;
    const double da = (sky.ra - m_reference.ra) * kRad;
    const double cosc = std::sin(d0) * std::sin(d) + std::cos(d0) * std::cos(d) * std::cos(da);
    if (cosc <= 1e-9)
        return std::nullopt;
    const double xi = std::cos(d) * std::sin(da) / cosc / kRad;
    const double eta =
        (std::cos(d0) * std::sin(d) - std::sin(d0) * std::cos(d) * std::cos(da)) / cosc / kRad;
    const double U = m_cdInverse[0] * xi + m_cdInverse[1] * eta;
    const double V = m_cdInverse[2] * xi + m_cdInverse[3] * eta;
    double u = U + m_ap.at(U, V);
    double v = V + m_bp.at(U, V);
    // The inverse polynomial is an approximation (or absent): refine on the forward one.
    for (int i = 0; i < 50 && hasDistortion(); ++i) {
        const double nu = U - m_a.at(u, v);
        const double nv = V - m_b.at(u, v);
        const bool done = std::fabs(nu - u) < 1e-9 && std::fabs(nv - v) < 1e-9;
        u = nu;
        v = nv;
        if (done)
            break;
    }
    return QPointF(u + m_referencePixel.x(), v + m_referencePixel.y());
}

SkyPoint Wcs::centre() const
{
    return pixelToSky(QPointF(m_size.width() / 2.0, m_size.height() / 2.0));
}

double Wcs::fieldWidth() const
{
    const double y = m_size.height() / 2.0;
    return skyDistance(pixelToSky(QPointF(0, y)), pixelToSky(QPointF(m_size.width(), y)));
}

double Wcs::fieldHeight() const
{
    const double x = m_size.width() / 2.0;
    return skyDistance(pixelToSky(QPointF(x, 0)), pixelToSky(QPointF(x, m_size.height())));
}

double Wcs::pixelScale() const
{
    return std::sqrt(std::fabs(m_det)) * 3600;
}

double Wcs::upAngle() const
{
    const QPointF c(m_size.width() / 2.0, m_size.height() / 2.0);
    return positionAngle(pixelToSky(c), pixelToSky(c - QPointF(0, 1)));
}

Wcs Wcs::transformed(double sx, double sy, const QPointF &offset, const QSize &imageSize) const
{
    Wcs w = *this;
    w.m_size = imageSize;
    w.m_referencePixel = QPointF(sx * m_referencePixel.x(), sy * m_referencePixel.y()) + offset;
    w.m_cd = {m_cd[0] / sx, m_cd[1] / sy, m_cd[2] / sx, m_cd[3] / sy};
    w.m_a = scaledSip(m_a, sx, sy, sx);
    w.m_b = scaledSip(m_b, sx, sy, sy);
    w.m_ap = scaledSip(m_ap, sx, sy, sx);
    w.m_bp = scaledSip(m_bp, sx, sy, sy);
    w.updateInverse();
    return w;
}

void Wcs::setDistortion(const SipPolynomial &a, const SipPolynomial &b, const SipPolynomial &ap,
                        const SipPolynomial &bp)
{
    m_a = a;
    m_b = b;
    m_ap = ap;
    m_bp = bp;
}

void Wcs::updateInverse()
{
    m_det = m_cd[0] * m_cd[3] - m_cd[1] * m_cd[2];
    if (!std::isfinite(m_det) || m_det == 0) {
        m_det = 0;
        return;
    }
    m_cdInverse = {m_cd[3] / m_det, -m_cd[1] / m_det, -m_cd[2] / m_det, m_cd[0] / m_det};
}
