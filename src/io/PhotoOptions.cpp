#include "PhotoOptions.h"

#include <algorithm>
#include <cmath>

namespace {

// The photo sizes the layout takes (the frame layout's limits).
constexpr int kMinSide = 50;
constexpr int kMaxWidth = 1600;
constexpr int kMaxHeight = 1200;

} // namespace

QSize PhotoOptions::fittedSize(QSize natural) const
{
    if (!shrink || natural.isEmpty() || box.isEmpty() ||
        (natural.width() <= box.width() && natural.height() <= box.height()))
        return natural;
    const double scale =
        std::min(double(box.width()) / natural.width(), double(box.height()) / natural.height());
    // The limiting side comes out exactly at the box; the other rounds to the nearest pixel.
    const int width = std::max(1, int(std::lround(natural.width() * scale)));
    const int height = std::max(1, int(std::lround(natural.height() * scale)));
    return QSize(std::min(width, box.width()), std::min(height, box.height()));
}

QSize PhotoOptions::boundedBox(QSize box)
{
    return QSize(std::clamp(box.width(), kMinSide, kMaxWidth),
                 std::clamp(box.height(), kMinSide, kMaxHeight));
}
