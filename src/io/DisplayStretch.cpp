#include "DisplayStretch.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kShadowsClip = -2.8;  // in normalised MADs from the median
constexpr double kTargetMedian = 0.25; // where the median is shown
constexpr double kMadToSigma = 1.4826; // MAD of normal data to its standard deviation

uchar toByte(double v)
{
    return uchar(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

} // namespace

namespace DisplayStretch {

double midtones(double m, double x)
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    return (m - 1.0) * x / ((2.0 * m - 1.0) * x - m);
}

Table linear(int lo, int hi)
{
    Table table;
    const double range = hi - lo;
    for (int level = 0; level < Levels; ++level) {
        if (level <= lo)
            table[level] = 0;
        else if (level >= hi)
            table[level] = 255;
        else
            table[level] = toByte((level - lo) / range);
    }
    return table;
}

Table automatic(const Histogram &histogram)
{
    // Prefix sums: below[k] pixels have a level under k.
    std::vector<quint64> below(Levels + 1, 0);
    for (int level = 0; level < Levels; ++level)
        below[level + 1] = below[level] + histogram[level];
    const quint64 count = below[Levels];
    if (count == 0)
        return linear(Levels - 1, Levels - 1);
    const int lo = int(std::upper_bound(below.begin(), below.end(), 0) - below.begin()) - 1;
    const int hi = int(std::lower_bound(below.begin(), below.end(), count) - below.begin()) - 1;
    if (hi <= lo)
        return linear(lo, hi);

    // The (lower) median, and the median of the distances from it.
    const quint64 half = (count + 1) / 2;
    const int median = int(std::lower_bound(below.begin(), below.end(), half) - below.begin()) - 1;
    int lowD = 0, highD = Levels - 1;
    while (lowD < highD) {
        const int d = (lowD + highD) / 2;
        const quint64 within =
            below[std::min(median + d + 1, Levels)] - below[std::max(median - d, 0)];
        if (within >= half)
            highD = d;
        else
            lowD = d + 1;
    }

    const double range = hi - lo;
    const double medianN = (median - lo) / range;
    const double sigmaN = kMadToSigma * lowD / range;
    const double c0 = std::clamp(medianN + kShadowsClip * sigmaN, 0.0, 1.0);
    if (1.0 - c0 < 1e-9)
        return linear(lo, hi);
    const double x = (medianN - c0) / (1.0 - c0);
    // A median at the black point (or above it all) has no midtones to balance: straight line.
    const double balance = x > 0.0 && x < 1.0 ? midtones(kTargetMedian, x) : 0.5;
    Table table;
    for (int level = 0; level < Levels; ++level) {
        const double v = ((level - lo) / range - c0) / (1.0 - c0);
        table[level] = toByte(midtones(balance, std::clamp(v, 0.0, 1.0)));
    }
    return table;
}

} // namespace DisplayStretch
