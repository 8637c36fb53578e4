#pragma once

#include "sky/Wcs.h"

#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <cmath>

// Pictures of the real sky for the solver's tests: the stars of a Tycho-2 index file around
// a place (query-starkd), drawn through a known WCS with faint extra stars, noise, a sky
// gradient and a nebula.
namespace StarField {

struct Star
{
    SkyPoint position;
    double magnitude = 0;
};

// The stars of index-tycho2-07 (the densest) within radius degrees of a place.
inline QList<Star> stars(const SkyPoint &centre, double radius)
{
    QProcess query;
    query.start(QStringLiteral("query-starkd"),
                {QStringLiteral("-r"), QString::number(centre.ra, 'f', 6), QStringLiteral("-d"),
                 QString::number(centre.dec, 'f', 6), QStringLiteral("-R"),
                 QString::number(radius, 'f', 4), QStringLiteral("-T"),
                 QStringLiteral("/usr/share/astrometry/index-tycho2-07.littleendian.fits")});
    query.waitForFinished(30000);
    QList<Star> found;
    const QList<QByteArray> lines = query.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> f = line.split(',');
        bool ok[3] = {};
        if (f.size() == 3) {
            const Star s{{f[0].trimmed().toDouble(&ok[0]), f[1].trimmed().toDouble(&ok[1])},
                         f[2].trimmed().toDouble(&ok[2])};
            if (ok[0] && ok[1] && ok[2])
                found.append(s);
        }
    }
    return found;
}

// A grey picture of the sky through the WCS: Gaussian stars down to a limiting magnitude that
// falls with the field's width as a shorter lens's would (12 for 1°, 10 for 10°), bright ones
// bloated and saturated, 300 stars at random as faint as the faintest, a gradient from 20 to
// 50, a nebula of 60 at 40% across and noise.
inline QImage render(const Wcs &wcs, quint32 seed = 1)
{
    const QSize size = wcs.imageSize();
    const double limit = 12 - 2 * std::log10(std::max(1.0, wcs.fieldWidth()));
    // A star at the limit peaks at 20 levels, five times the noise.
    constexpr double kSigma = 1.3;
    const double faintest = 20 * 2 * M_PI * kSigma * kSigma;
    std::vector<float> sky(size_t(size.width()) * size.height(), 0.0f);
    auto splat = [&](const QPointF &p, double flux, double sigma) {
        const int r = int(std::ceil(sigma * 4));
        for (int y = int(p.y()) - r; y <= int(p.y()) + r; ++y) {
            for (int x = int(p.x()) - r; x <= int(p.x()) + r; ++x) {
                if (x < 0 || y < 0 || x >= size.width() || y >= size.height())
                    continue;
                const double dx = x + 0.5 - p.x();
                const double dy = y + 0.5 - p.y();
                sky[size_t(y) * size.width() + x] +=
                    float(flux * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)));
            }
        }
    };
    const double radius = std::hypot(wcs.fieldWidth(), wcs.fieldHeight()) / 2 + 0.1;
    for (const Star &s : stars(wcs.centre(), radius)) {
        const auto p = wcs.skyToPixel(s.position);
        if (p && s.magnitude < limit + 0.5)
            splat(*p, faintest * std::pow(10.0, -0.4 * (s.magnitude - limit)),
                  kSigma + 0.25 * std::max(0.0, limit - 3 - s.magnitude));
    }
    QRandomGenerator random(seed);
    for (int i = 0; i < 300; ++i)
        splat(QPointF(random.bounded(size.width()), random.bounded(size.height())),
              faintest * (0.3 + random.generateDouble()), kSigma);
    const QPointF nebula(size.width() * 0.4, size.height() * 0.55);
    splat(nebula, 60, size.height() / 6.0);
    QImage image(size, QImage::Format_Grayscale8);
    for (int y = 0; y < size.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const double noise = (random.generateDouble() + random.generateDouble() +
                                  random.generateDouble() - 1.5) *
                                 6;
            const double v =
                sky[size_t(y) * size.width() + x] + 20 + 30.0 * x / size.width() + noise;
            line[x] = uchar(std::clamp(v, 0.0, 255.0));
        }
    }
    return image;
}

} // namespace StarField
