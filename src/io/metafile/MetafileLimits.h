#pragma once

#include <QtGlobal>

// Bounds on what one metafile may ask of the player, so that no file can make it run for long
// or take much memory.
namespace MetafileLimits {

// Records played before the file is refused as too complex.
inline constexpr qint64 MaxRecords = 2'000'000;

// Drawing work before the file is refused: one unit per record, point and character, one per
// 64 pixels of a decoded bitmap, one per region rectangle.
inline constexpr qint64 MaxWork = 40'000'000;

// Pixels painted before the file is refused, in whole pictures: each shape, text, bitmap or
// clipping operation counts the area it covers.
inline constexpr qint64 MaxPaintedPictures = 400;

// Entries of an object table.
inline constexpr int MaxObjects = 65535;

// Rectangles of one region; larger regions are drawn as their bounding box.
inline constexpr qint64 MaxRegionRects = 4096;

} // namespace MetafileLimits
