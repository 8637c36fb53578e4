#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

// The display stretch of linear data: a table from a channel's levels (0..65535, linear in the
// data's values) to the 8-bit values shown.
namespace DisplayStretch {

constexpr int Levels = 65536;
using Histogram = std::vector<quint32>; // Levels counts
using Table = std::array<uchar, Levels>;

// Levels lo..hi onto 0..255 in a straight line, rounded; lo and below black, hi and above white
// (a single level: black up to it, white above).
Table linear(int lo, int hi);

// The automatic stretch of one channel, from its histogram, normalised to its lowest and highest
// level: the shadows clipped at median - 2.8 x MAD (MAD scaled by 1.4826 to a standard
// deviation), then a midtones transfer that shows the median at 0.25. An empty histogram gives a
// black table.
Table automatic(const Histogram &histogram);

// The midtones transfer function of balance m on x in 0..1 (m = 0.5 is the identity).
double midtones(double m, double x);

} // namespace DisplayStretch
