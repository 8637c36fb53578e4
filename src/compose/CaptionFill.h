#pragma once

#include "PanelValues.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>
#include <array>
#include <optional>
#include <utility>

class PhotoMetadata;
class AppSettings;
class SubframeSummary;

// Fills the panel from what the photo file says about itself: the target name from OBJECT, the
// date and time of the exposure, and the footer lines from patterns such as
// "[{TELESCOP} + ]{INSTRUME}". A placeholder {NAME} takes the value of a name of
// PhotoMetadata::names(), {TOTAL} or SubframeSummary::names(); text in square brackets that holds
// placeholders is kept only when all of them have values. A field with no data is left as it was.
namespace CaptionFill {

using Patterns = std::array<QString, PanelValues::FooterCount>;
using Values = QList<std::pair<QString, QString>>;

// The placeholders of the photo's data with their values, in the order of
// PhotoMetadata::names(); TOTAL (EXPTIME x STACKCNT in hours and minutes) follows STACKCNT.
Values placeholders(const PhotoMetadata &data);

// The line a pattern gives, or nothing when no value went into it (the line is then kept).
std::optional<QString> expand(const QString &pattern, const Values &values);

// "2時間", "1時間15分", "40分", "30秒": seconds rounded to minutes from one minute on.
QString totalText(double seconds);

// The panel filled from the data. The time is shown in `zone` (the system's local time when
// invalid): DATE-OBS is UTC, DATE-LOC local time, EXIF DateTimeOriginal is at its
// OffsetTimeOriginal when given and local time otherwise.
// `more` adds values to the photo's own (a summary of the sub-frames).
PanelValues fill(const PanelValues &panel, const PhotoMetadata &data, const Patterns &patterns,
                 const QTimeZone &zone = QTimeZone(), const Values &more = {});

// When the data says the photo was taken, on the clock of the place: DATE-LOC and EXIF's
// DateTimeOriginal as written (at OffsetTimeOriginal when given, else in `zone`), else DATE-OBS
// (UTC) shown in `zone` (the system's local time when invalid). Nothing without a time of day.
std::optional<QDateTime> siteTime(const PhotoMetadata &data, const QTimeZone &zone = QTimeZone());

struct Result
{
    PanelValues panel;    // the panel filled, or as it was
    bool hasData = false; // the photo holds any of the values read
    QString error;        // set when the photo cannot be read
};

// The fill the window's command and the command line run: the photo's data with the settings'
// patterns, and the sub-frames' summary when given, else the photo's own if it is a stacked
// master (SubframeSummary::ofMaster). Without a photo (an empty path) the sub-frames alone.
Result fillFromPhoto(const QString &photoPath, const PanelValues &panel,
                     const AppSettings &settings, const SubframeSummary *subframes = nullptr);

Patterns patterns(const AppSettings &settings);

} // namespace CaptionFill
