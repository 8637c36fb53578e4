#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

// Plays Windows metafiles (WMF, placeable or not, and EMF) onto an image at their natural size,
// 96 pixels per inch, on a white background.
//
// A metafile whose header or record stream is damaged (a record running past the end of the
// data, no end-of-file record, too many records) is refused with an error; nothing half drawn is
// returned. A record that is well framed but whose contents make no sense (a count larger than
// the record, an unknown object) is skipped, as Windows does, and playback goes on.
namespace MetafilePlayer {

// The largest picture render() draws. Larger metafiles are refused before anything is allocated;
// callers that need the size of such a file (to report it) take it from naturalSize().
inline constexpr int MaxWidth = 1600;
inline constexpr int MaxHeight = 1200;

// Metafiles larger than this are refused without being read further.
inline constexpr qsizetype MaxFileBytes = 64 * 1024 * 1024;

enum class Kind
{
    None,
    Wmf,
    Emf
};

// Which metafile the first bytes announce: a WMF by its placeable key or standard header, an EMF
// by its header record. 44 bytes are enough to tell.
Kind kindOf(QByteArrayView head);
bool isMetafile(QByteArrayView head);

// The natural pixel size: EMF from the header's frame (0.01 mm, inclusive), a placeable WMF from
// its bounding box and units per inch, other WMFs from their window extent. Any size is
// reported, also one above MaxWidth x MaxHeight. Returns false with an error when the header
// is damaged or gives no usable size.
bool naturalSize(const QByteArray &data, QSize *size, QString *error);

// The picture as Format_RGB32 at its natural size. Returns a null image and sets the error when
// the file is damaged or its natural size is empty or above MaxWidth x MaxHeight.
QImage render(const QByteArray &data, QString *error);

} // namespace MetafilePlayer
