#pragma once

#include "PanelValues.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>
#include <array>
#include <bitset>
#include <optional>
#include <utility>

class PhotoMetadata;
class AppSettings;
class SubframeSummary;

// Fills the panel from what the photo file says about itself: the target name from OBJECT, the
// date and time of the exposure, and the footer lines from patterns such as
// "[{TELESCOP} + ]{INSTRUME}". A placeholder {NAME} takes the value of a name of
// PhotoMetadata::names(), {TOTAL} or SubframeSummary::names(); text in square brackets that holds
// placeholders is kept only when all of them have values. A field with no data is left as it was,
// unless the last fill wrote it and it still holds what that fill left there (refill).
namespace CaptionFill {

using Patterns = std::array<QString, PanelValues::FooterCount>;
using Values = QList<std::pair<QString, QString>>;

// The fields a fill writes: the target name, the date (year, month and day), the time and the
// footer lines.
enum Field
{
    TargetName,
    Date,
    Time,
    FirstFooter,
    FieldCount = FirstFooter + PanelValues::FooterCount
};
using Fields = std::bitset<FieldCount>;

// What the last fill left: the panel after it and the fields it wrote. Such a field belongs to
// the fill while it holds that value; once typed or edited into another it is the user's.
struct LastFill
{
    PanelValues panel;
    Fields written;
};

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
// `written` receives the fields the data gave a value for. `extra` adds placeholders of other
// data (the field of a solved photo, FieldFacts::values; the summary of the sub-frames); one
// with an empty value is known but has no value. A target name left empty by OBJECT takes the
// value of TARGET among them.
PanelValues fill(const PanelValues &panel, const PhotoMetadata &data, const Patterns &patterns,
                 const QTimeZone &zone = QTimeZone(), Fields *written = nullptr,
                 const Values &extra = {});

// The fill that follows `last`: the fields that still belong to the last fill are emptied first,
// so that each takes the new photo's value or stays empty; the user's fields are filled as fill()
// does. `last` then describes this fill.
PanelValues refill(const PanelValues &panel, const PhotoMetadata &data, const Patterns &patterns,
                   LastFill &last, const QTimeZone &zone = QTimeZone(), const Values &extra = {});

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

// The window's command: the photo's data with the settings' patterns, after the fill `last`
// (left as it was when the photo cannot be read), and the sub-frames' summary when given, else
// the photo's own if it is a stacked master (SubframeSummary::ofMaster). Without a photo (an
// empty path) the sub-frames alone. `field` adds the solved field's facts
// (FieldFacts::values): an empty target name takes {TARGET}.
Result fillFromPhoto(const QString &photoPath, const PanelValues &panel,
                     const AppSettings &settings, LastFill &last,
                     const SubframeSummary *subframes = nullptr, const Values &field = {});

Patterns patterns(const AppSettings &settings);

} // namespace CaptionFill
