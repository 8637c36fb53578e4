#pragma once

#include "DisplayStretch.h"
#include "PhotoOptions.h"

#include <QImage>

#include <functional>
#include <vector>

// Linear data on its way to the screen, as the readers of astronomical data (FITS, XISF) share
// it: each channel as levels 0..65535, linear in the values, then stretched for display.
namespace PhotoLevels {

// A level for each pixel of one plane, in file order, in memory the system may back with large
// pages (a 6000 x 4000 plane takes 12 000 page faults in 4 KB pages), not cleared beforehand.
// Throws std::bad_alloc when the memory cannot be had. Or a view of count levels in memory
// that the caller keeps.
class Plane
{
public:
    explicit Plane(qsizetype count);
    Plane(quint16 *memory, qsizetype count);
    Plane(Plane &&) = default;
    Plane &operator=(Plane &&) = default;

    quint16 *data() { return reinterpret_cast<quint16 *>(m_memory.bits()); }
    const quint16 *data() const { return reinterpret_cast<const quint16 *>(m_memory.constBits()); }
    quint16 &operator[](qsizetype i) { return data()[i]; }

private:
    QImage m_memory; // one row of count 16-bit values
};

// The picture as levels: per plane a level for each pixel, linear in the value.
struct Levels
{
    // The planes in new memory, or one after the other in `memory` (a reader that converts its
    // samples to levels in place).
    Levels(int width, int height, int planes, quint16 *memory = nullptr);

    int width = 0;
    int height = 0;
    std::vector<Plane> planes;
    bool zeroIsNull = false; // level 0 stands for NaN and infinite pixels
    int noneLo = 0;          // the data type's range, in levels
    int noneHi = DisplayStretch::Levels - 1;
};

// Reads `count` values of a plane, from its pixel `first` on (whole rows), as doubles.
using BandReader = std::function<bool(int plane, qsizetype first, qsizetype count, double *values)>;

// Values of any type onto levels 1..65535, level 0 for those that are not numbers: over lo..hi
// (the type's range) with no stretch, else over the range of all planes' values together, so
// that a level means the same value in each. False when the reader fails.
bool fromValues(Levels *levels, PhotoOptions::Stretch stretch, double lo, double hi,
                const BandReader &read);

// The levels stretched for display: Format_Grayscale8 for one plane, Format_RGB32 for three,
// rows from the last up when bottomUp, drawn into `canvas` when it is an image of that size and
// format, else into new memory. Null when the memory cannot be had.
QImage render(const Levels &levels, PhotoOptions::Stretch stretch, bool bottomUp,
              QImage canvas = QImage());

} // namespace PhotoLevels
