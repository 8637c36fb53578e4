#pragma once

#include <QString>
#include <QStringList>

class PhotoMetadata;

// The header of one sub-frame, or of a stacked master, read without its image data: the values
// a summary of the night's frames needs, kept in a PhotoMetadata under the names below. FITS
// headers come through cfitsio, camera files (JPEG, TIFF, raw) through exiv2, which reads their
// EXIF without decoding the picture.
namespace SubframeHeader {

// The names of the values, with where each comes from.
inline constexpr char FrameType[] = "IMAGETYP";  // IMAGETYP, else FRAME, else FRAMETYP
inline constexpr char Filter[] = "FILTER";       // FILTER
inline constexpr char Exposure[] = "EXPTIME";    // EXPTIME, else EXPOSURE; EXIF ExposureTime
inline constexpr char StackCount[] = "STACKCNT"; // STACKCNT, else NCOMBINE
inline constexpr char LiveTime[] = "LIVETIME";   // LIVETIME, else TOTALEXP
// The dates keep PhotoMetadata's names: DATE-OBS and DATE-LOC from FITS, DateTimeOriginal and
// OffsetTimeOriginal from EXIF. Numbers are written as PhotoMetadata writes them ("300", "0.004").

// Reads the header of one file, told by its contents: FITS, XISF or a camera file. False, with
// *reason, when the file cannot be read or its header is damaged.
bool read(const QString &path, PhotoMetadata *data, QString *reason);

// The header of a photo that may be a stacked master: FITS or XISF as read() reads them; any
// other file gives no values and no error.
bool readMaster(const QString &path, PhotoMetadata *data);

// Whether a folder's file is taken as a sub-frame, by its extension: .fit .fits .fts .fz .xisf
// .jpg .jpeg .tif .tiff and the camera raw files .cr2 .cr3 .nef .arw .orf .rw2 .raf .dng .pef.
bool isSubframeName(const QString &fileName);

// The sub-frames of the paths: a file as named, a folder's sub-frame files and those of its
// folders, each folder's in name order; a file named twice counts once. Paths that name neither
// go to *missing.
QStringList files(const QStringList &paths, QStringList *missing);

} // namespace SubframeHeader
