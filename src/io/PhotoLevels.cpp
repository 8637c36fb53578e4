#include "PhotoLevels.h"

#include "common/ImageMemory.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

using PhotoLevels::Levels;
using PhotoLevels::Plane;

// A level from a value that may be out of range or not a number (from scaling keys that are).
quint16 toLevel(double v)
{
    return v >= 1.0 ? quint16(std::min(v, 65535.0)) : quint16(1);
}

// Calls use(values, count, first) for each band of a plane's rows, about a megabyte at a time.
template <typename Use>
bool forEachBand(const Levels &levels, int plane, std::vector<double> &buffer,
                 const PhotoLevels::BandReader &read, Use &&use)
{
    const int rowsPerBand = std::max(1, int((1 << 20) / levels.width));
    buffer.resize(size_t(std::min(rowsPerBand, levels.height)) * size_t(levels.width));
    for (int row = 0; row < levels.height; row += rowsPerBand) {
        const qsizetype first = qsizetype(row) * levels.width;
        const qsizetype count =
            qsizetype(std::min(rowsPerBand, levels.height - row)) * levels.width;
        if (!read(plane, first, count, buffer.data()))
            return false;
        use(buffer.data(), count, first);
    }
    return true;
}

// One table per plane: the levels shown as 8-bit values.
std::vector<DisplayStretch::Table> stretchTables(const Levels &levels,
                                                 PhotoOptions::Stretch stretch)
{
    std::vector<DisplayStretch::Table> tables;
    if (stretch == PhotoOptions::Stretch::None) {
        tables.assign(levels.planes.size(), DisplayStretch::linear(levels.noneLo, levels.noneHi));
    } else {
        std::vector<DisplayStretch::Histogram> histograms;
        int lo = DisplayStretch::Levels, hi = -1;
        const qsizetype count = qsizetype(levels.width) * levels.height;
        for (const Plane &plane : levels.planes) {
            DisplayStretch::Histogram histogram(DisplayStretch::Levels, 0);
            const quint16 *v = plane.data();
            for (qsizetype i = 0; i < count; ++i)
                ++histogram[v[i]];
            if (levels.zeroIsNull)
                histogram[0] = 0;
            const auto used = [](quint32 n) { return n != 0; };
            const auto first = std::find_if(histogram.begin(), histogram.end(), used);
            if (first != histogram.end()) {
                lo = std::min(lo, int(first - histogram.begin()));
                hi = std::max(hi,
                              int(std::find_if(histogram.rbegin(), histogram.rend(), used).base() -
                                  histogram.begin()) -
                                  1);
            }
            histograms.push_back(std::move(histogram));
        }
        // Linear: one range for all planes, so colours keep their balance. Automatic: each
        // channel on its own, which also takes the colour cast off the sky background.
        for (const DisplayStretch::Histogram &histogram : histograms)
            tables.push_back(stretch == PhotoOptions::Stretch::Linear
                                 ? DisplayStretch::linear(lo, hi)
                                 : DisplayStretch::automatic(histogram));
    }
    if (levels.zeroIsNull)
        for (DisplayStretch::Table &table : tables)
            table[0] = 0;
    return tables;
}

} // namespace

namespace PhotoLevels {

Plane::Plane(qsizetype count)
    : m_memory(ImageMemory::allocate(int(count), 1, QImage::Format_Grayscale16))
{
    if (m_memory.isNull())
        throw std::bad_alloc();
}

Plane::Plane(quint16 *memory, qsizetype count)
    : m_memory(reinterpret_cast<uchar *>(memory), int(count), 1, count * 2,
               QImage::Format_Grayscale16)
{}

Levels::Levels(int width, int height, int planes, quint16 *memory) : width(width), height(height)
{
    const qsizetype count = qsizetype(width) * height;
    for (int p = 0; p < planes; ++p) {
        if (memory)
            this->planes.emplace_back(memory + p * count, count);
        else
            this->planes.emplace_back(count);
    }
}

bool fromValues(Levels *levels, PhotoOptions::Stretch stretch, double lo, double hi,
                const BandReader &read)
{
    std::vector<double> buffer;
    const int planes = int(levels->planes.size());
    if (stretch != PhotoOptions::Stretch::None) {
        lo = std::numeric_limits<double>::infinity();
        hi = -lo;
        for (int p = 0; p < planes; ++p) {
            if (!forEachBand(*levels, p, buffer, read,
                             [&](const double *v, qsizetype n, qsizetype) {
                                 for (qsizetype i = 0; i < n; ++i) {
                                     if (std::isfinite(v[i])) {
                                         lo = std::min(lo, v[i]);
                                         hi = std::max(hi, v[i]);
                                     }
                                 }
                             }))
                return false;
        }
    }
    const double scale = hi > lo ? 65534.0 / (hi - lo) : 0.0;
    levels->zeroIsNull = true;
    levels->noneLo = 1;
    for (int p = 0; p < planes; ++p) {
        quint16 *out = levels->planes[p].data();
        if (!forEachBand(*levels, p, buffer, read, [&](const double *v, qsizetype n, qsizetype at) {
                for (qsizetype i = 0; i < n; ++i) {
                    if (!std::isfinite(v[i])) {
                        out[at + i] = 0;
                        continue;
                    }
                    // Rounded half up by truncation, kept in range first (toLevel takes the
                    // values below level 1 and above 65535 back in).
                    const double x = std::clamp((v[i] - lo) * scale, -1.0, 65535.0);
                    out[at + i] = toLevel(1.0 + double(qint64(x + 0.5)));
                }
            }))
            return false;
    }
    return true;
}

QImage render(const Levels &levels, PhotoOptions::Stretch stretch, bool bottomUp, QImage canvas)
{
    const std::vector<DisplayStretch::Table> tables = stretchTables(levels, stretch);
    const bool colour = levels.planes.size() == 3;
    const QImage::Format format = colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8;
    QImage image = canvas.format() == format && canvas.size() == QSize(levels.width, levels.height)
                       ? std::move(canvas)
                       : ImageMemory::allocate(levels.width, levels.height, format);
    if (image.isNull())
        return image;
    for (int y = 0; y < levels.height; ++y) {
        const qsizetype at = qsizetype(bottomUp ? levels.height - 1 - y : y) * levels.width;
        if (colour) {
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            const quint16 *r = levels.planes[0].data() + at;
            const quint16 *g = levels.planes[1].data() + at;
            const quint16 *b = levels.planes[2].data() + at;
            for (int x = 0; x < levels.width; ++x)
                out[x] = qRgb(tables[0][r[x]], tables[1][g[x]], tables[2][b[x]]);
        } else {
            uchar *out = image.scanLine(y);
            const quint16 *v = levels.planes[0].data() + at;
            const DisplayStretch::Table &table = tables[0];
            for (int x = 0; x < levels.width; ++x)
                out[x] = table[v[x]];
        }
    }
    return image;
}

} // namespace PhotoLevels
