#pragma once

#include <QByteArray>

#include <ctime>

// The local time zone of the test process ("Asia/Tokyo", "Europe/Berlin", "UTC"): the clock's
// texts read "23:59 JST" only where the zone is nine hours ahead of UTC.
inline void setLocalZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}
