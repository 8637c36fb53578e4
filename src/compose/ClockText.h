#pragma once

#include <QDateTime>
#include <QString>

// The time text of the panel: "HH:MM", a blank and the zone's label, as the current-time button
// and the fill from a photo write it ("22:05 JST", "22:30 CET").
namespace ClockText {

// The label of the zone the time is given in: "JST" for any zone nine hours ahead of UTC,
// otherwise its abbreviation; "UTC+05:30" when it has none.
QString zoneLabel(const QDateTime &time);

// The time as it is given (no conversion), with zoneLabel().
QString timeText(const QDateTime &time);

} // namespace ClockText
