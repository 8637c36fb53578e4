#pragma once

#include <QByteArray>

// Photo-like metafiles that use every record group the player draws: a framed night sky with
// a DIB photo, shapes, hatches, clipping, a Japanese caption. The fuzz test mutates them, the
// loader test composes them.
namespace SampleMetafiles {

// A placeable WMF of 480 x 320 pixels (7200 x 4800 units at 1440 per inch).
QByteArray wmf();

// An EMF of 480 x 320 pixels.
QByteArray emf();

} // namespace SampleMetafiles
