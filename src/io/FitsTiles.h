#pragma once

#include "Cfitsio.h"

#include <QString>
#include <QtGlobal>

// Tile-compressed FITS images, checked before cfitsio decompresses them. Its Rice decoder does not
// watch for the end of a tile's bytes (for speed: a damaged tile makes it read on past them), and
// its HCOMPRESS and PLIO decoders take sizes from the data on trust. So every Rice tile is walked
// the way the decoder reads it, and the other two methods are refused.
namespace FitsTiles {

// For the current HDU: true when it is not compressed, or compressed in a way that decompresses
// within its bytes. False with a reason otherwise; cfitsio's status is left as it was.
bool safeToDecompress(const Cfitsio &fits, fitsfile *file, QString *reason);

// Whether decoding `pixels` pixels of bytePix bytes (1, 2, else 4) in blocks of blockSize from a
// Rice stream of `length` bytes stays inside them.
bool riceStreamFits(const uchar *bytes, qint64 length, qint64 pixels, int blockSize, int bytePix);

} // namespace FitsTiles
