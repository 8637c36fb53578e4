#include "ClockText.h"

namespace {

constexpr int kJapanOffset = 9 * 3600;

// An abbreviation made of letters, digits and signs; anything else is not shown.
bool isAbbreviation(const QString &text)
{
    if (text.isEmpty() || text.size() > 8)
        return false;
    for (const QChar c : text) {
        if (!(c.isLetterOrNumber() || c == u'+' || c == u'-'))
            return false;
    }
    return true;
}

} // namespace

namespace ClockText {

QString zoneLabel(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    if (offset == kJapanOffset)
        return QStringLiteral("JST");
    const QString abbreviation = time.timeZoneAbbreviation();
    if (isAbbreviation(abbreviation))
        return abbreviation;
    const int minutes = std::abs(offset) / 60;
    return QStringLiteral("UTC%1%2:%3")
        .arg(QChar(offset < 0 ? u'-' : u'+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString timeText(const QDateTime &time)
{
    return time.time().toString(QStringLiteral("HH:mm")) + QLatin1Char(' ') + zoneLabel(time);
}

} // namespace ClockText
