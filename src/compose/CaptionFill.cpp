#include "CaptionFill.h"

#include "ClockText.h"
#include "DateStyle.h"
#include "SubframeSummary.h"
#include "io/PhotoMetadata.h"
#include "io/SubframeHeader.h"
#include "store/AppSettings.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>

namespace {

const QString kTotal = QStringLiteral("TOTAL");
constexpr int kMaxYear = 9999;

// Text and the number of values it took in, from a run of pattern text without brackets.
struct Rendered
{
    QString text;
    int placeholders = 0;
    int used = 0;
};

QString lookup(const CaptionFill::Values &values, QStringView name, bool *known)
{
    *known = name.compare(kTotal, Qt::CaseInsensitive) == 0 ||
             PhotoMetadata::names().contains(name, Qt::CaseInsensitive) ||
             SubframeSummary::names().contains(name, Qt::CaseInsensitive);
    for (const auto &[key, value] : values) {
        if (name.compare(key, Qt::CaseInsensitive) == 0) {
            *known = true; // an extra value names its placeholder even when empty
            return value;
        }
    }
    return {};
}

Rendered render(QStringView run, const CaptionFill::Values &values)
{
    Rendered r;
    qsizetype i = 0;
    while (i < run.size()) {
        // The name runs from the last "{" before the first "}": "{a {OBJECT}" names OBJECT.
        const qsizetype close = run.indexOf(u'}', i);
        const qsizetype open = close < 0 ? -1 : run.lastIndexOf(u'{', close);
        if (open < i) {
            r.text += close < 0 ? run.mid(i) : run.mid(i, close + 1 - i);
            if (close < 0)
                break;
            i = close + 1;
            continue;
        }
        r.text += run.mid(i, open - i);
        bool known = false;
        const QString value = lookup(values, run.mid(open + 1, close - open - 1), &known);
        if (known) {
            ++r.placeholders;
            r.used += value.isEmpty() ? 0 : 1;
            r.text += value;
        } else {
            r.text += run.mid(open, close - open + 1); // not a placeholder: kept as written
        }
        i = close + 1;
    }
    return r;
}

// A moment read from the photo: the date always, the time when the photo gave one.
struct Moment
{
    QDate date;
    std::optional<QTime> time;
};

QTime clockTime(const QRegularExpressionMatch &m, int first)
{
    // A leap second (60) counts as the last second of its minute.
    return QTime(m.captured(first).toInt(), m.captured(first + 1).toInt(),
                 std::min(m.captured(first + 2).toInt(), 59));
}

// "2026-01-15T13:05:30.25" (seconds and fraction optional, a trailing Z allowed) or "2026-01-15".
std::optional<Moment> fitsMoment(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^(\d{4})-(\d{2})-(\d{2})(?:T(\d{2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?Z?$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    Moment moment{QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()), {}};
    if (m.capturedLength(4) > 0)
        moment.time = clockTime(m, 4);
    if (!moment.date.isValid() || (moment.time && !moment.time->isValid()))
        return std::nullopt;
    return moment;
}

// "2026:01:15 22:05:30".
std::optional<Moment> exifMoment(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^(\d{4}):(\d{2}):(\d{2}) (\d{2}):(\d{2}):(\d{2}))"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    Moment moment{QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()),
                  clockTime(m, 4)};
    if (!moment.date.isValid() || !moment.time->isValid())
        return std::nullopt;
    return moment;
}

// "+09:00", "-05:00", "+00:00": seconds east of UTC.
std::optional<int> exifOffset(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(^([+-])(\d{2}):(\d{2})$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int seconds = (m.captured(2).toInt() * 60 + m.captured(3).toInt()) * 60;
    if (seconds > 14 * 3600 || m.captured(3).toInt() >= 60)
        return std::nullopt;
    return m.captured(1) == QLatin1String("-") ? -seconds : seconds;
}

QDateTime shownIn(const QDateTime &moment, const QTimeZone &zone)
{
    return zone.isValid() ? moment.toTimeZone(zone) : moment.toLocalTime();
}

QDateTime localMoment(const QDate &date, const QTime &time, const QTimeZone &zone)
{
    return zone.isValid() ? QDateTime(date, time, zone) : QDateTime(date, time, Qt::LocalTime);
}

using CaptionFill::Fields;

Fields setDate(PanelValues &panel, const QDate &date)
{
    if (date.year() < 1 || date.year() > kMaxYear)
        return {};
    panel.year = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    panel.monthIndex = date.month() - 1;
    panel.dayIndex = date.day() - 1;
    return Fields().set(CaptionFill::Date);
}

Fields setDateTime(PanelValues &panel, const QDateTime &time)
{
    if (!time.isValid() || time.date().year() < 1 || time.date().year() > kMaxYear)
        return {};
    panel.time = ClockText::timeText(time);
    return setDate(panel, time.date()).set(CaptionFill::Time);
}

// The fields written.
Fields fillDateTime(PanelValues &panel, const PhotoMetadata &data, const QTimeZone &zone)
{
    if (const auto m = fitsMoment(data.value(QStringLiteral("DATE-OBS")))) {
        return m->time ? setDateTime(panel, shownIn(QDateTime(m->date, *m->time, Qt::UTC), zone))
                       : setDate(panel, m->date);
    }
    if (const auto m = fitsMoment(data.value(QStringLiteral("DATE-LOC"))))
        return m->time ? setDateTime(panel, localMoment(m->date, *m->time, zone))
                       : setDate(panel, m->date);
    if (const auto m = exifMoment(data.value(QStringLiteral("DateTimeOriginal")))) {
        if (const auto offset = exifOffset(data.value(QStringLiteral("OffsetTimeOriginal"))))
            return setDateTime(
                panel, shownIn(QDateTime(m->date, *m->time, Qt::OffsetFromUTC, *offset), zone));
        return setDateTime(panel, localMoment(m->date, *m->time, zone));
    }
    return {};
}

// Whether two panels hold the same value in a field, and the field emptied.
bool sameField(const PanelValues &a, const PanelValues &b, int field)
{
    switch (field) {
    case CaptionFill::TargetName:
        return a.targetName == b.targetName;
    case CaptionFill::Date:
        return a.year == b.year && a.monthIndex == b.monthIndex && a.dayIndex == b.dayIndex;
    case CaptionFill::Time:
        return a.time == b.time;
    default:
        return a.footer[field - CaptionFill::FirstFooter] ==
               b.footer[field - CaptionFill::FirstFooter];
    }
}

void clearField(PanelValues &panel, int field)
{
    switch (field) {
    case CaptionFill::TargetName:
        panel.targetName.clear();
        break;
    case CaptionFill::Date:
        panel.year.clear();
        panel.monthIndex = -1;
        panel.dayIndex = -1;
        break;
    case CaptionFill::Time:
        panel.time.clear();
        break;
    default:
        panel.footer[field - CaptionFill::FirstFooter].clear();
    }
}

} // namespace

namespace CaptionFill {

QString totalText(double seconds)
{
    if (seconds < 59.5)
        return QCoreApplication::translate("CaptionFill", "%1秒").arg(std::lround(seconds));
    const long long minutes = std::llround(seconds / 60);
    if (minutes < 60)
        return QCoreApplication::translate("CaptionFill", "%1分").arg(minutes);
    if (minutes % 60 == 0)
        return QCoreApplication::translate("CaptionFill", "%1時間").arg(minutes / 60);
    return QCoreApplication::translate("CaptionFill", "%1時間%2分")
        .arg(minutes / 60)
        .arg(minutes % 60);
}

Values placeholders(const PhotoMetadata &data)
{
    Values values;
    for (const QString &name : PhotoMetadata::names()) {
        const QString value = data.value(name);
        if (!value.isEmpty())
            values.append({name, value});
        if (name != QLatin1String("STACKCNT"))
            continue;
        bool exposureOk = false;
        bool countOk = false;
        const double exposure = data.value(QStringLiteral("EXPTIME")).toDouble(&exposureOk);
        const double count = value.toDouble(&countOk);
        if (exposureOk && countOk && exposure > 0 && count > 0)
            values.append({kTotal, totalText(exposure * count)});
    }
    return values;
}

std::optional<QString> expand(const QString &pattern, const Values &values)
{
    QString line;
    int used = 0;
    auto plain = [&](qsizetype from, qsizetype to) {
        const Rendered r = render(QStringView(pattern).mid(from, to - from), values);
        line += r.text;
        used += r.used;
    };
    qsizetype i = 0;
    while (i < pattern.size()) {
        const qsizetype open = pattern.indexOf(u'[', i);
        const qsizetype close = open < 0 ? -1 : pattern.indexOf(u']', open);
        if (close < 0) {
            plain(i, pattern.size());
            break;
        }
        const qsizetype nextOpen = pattern.indexOf(u'[', open + 1);
        if (nextOpen >= 0 && nextOpen < close) { // this bracket is text
            plain(i, nextOpen);
            i = nextOpen;
            continue;
        }
        plain(i, open);
        const QStringView inside = QStringView(pattern).mid(open + 1, close - open - 1);
        const Rendered optional = render(inside, values);
        if (optional.placeholders == 0) {
            line += QLatin1Char('[') + inside.toString() + QLatin1Char(']'); // text's own
        } else if (optional.used == optional.placeholders) {
            line += optional.text;
            used += optional.used;
        }
        i = close + 1;
    }
    if (used == 0)
        return std::nullopt;
    return line.trimmed();
}

PanelValues fill(const PanelValues &panel, const PhotoMetadata &data, const Patterns &patterns,
                 const QTimeZone &zone, Fields *written, const Values &extra)
{
    PanelValues filled = panel;
    Fields fields;
    const QString object = data.value(QStringLiteral("OBJECT"));
    if (!object.isEmpty()) {
        filled.targetName = object;
        fields.set(TargetName);
    }
    // An empty target takes the solved field's target ({TARGET}); a typed one stays.
    if (filled.targetName.isEmpty()) {
        for (const auto &[name, value] : extra) {
            if (name == QLatin1String("TARGET") && !value.isEmpty()) {
                filled.targetName = value;
                fields.set(TargetName);
            }
        }
    }
    fields |= fillDateTime(filled, data, zone);
    const Values values = placeholders(data) + extra;
    for (int f = 0; f < PanelValues::FooterCount; ++f) {
        if (const auto line = expand(patterns[f], values)) {
            filled.footer[f] = *line;
            fields.set(FirstFooter + f);
        }
    }
    if (written)
        *written = fields;
    return filled;
}

PanelValues refill(const PanelValues &panel, const PhotoMetadata &data, const Patterns &patterns,
                   LastFill &last, const QTimeZone &zone, const Values &extra)
{
    PanelValues base = panel;
    for (int f = 0; f < FieldCount; ++f) {
        if (last.written[f] && sameField(panel, last.panel, f))
            clearField(base, f);
    }
    Fields written;
    const PanelValues filled = fill(base, data, patterns, zone, &written, extra);
    last = {filled, written};
    return filled;
}

Patterns patterns(const AppSettings &settings)
{
    Patterns p;
    for (int f = 0; f < PanelValues::FooterCount; ++f)
        p[f] = settings.captionPattern(f);
    return p;
}

Result fillFromPhoto(const QString &photoPath, const PanelValues &panel,
                     const AppSettings &settings, LastFill &last, const SubframeSummary *subframes,
                     const Values &field)
{
    Result result{panel, false, {}};
    PhotoMetadata data;
    if (!photoPath.isEmpty() && !PhotoMetadata::read(photoPath, &data, &result.error))
        return result;
    PhotoMetadata master;
    const SubframeSummary summary = subframes ? *subframes
                                    : SubframeHeader::readMaster(photoPath, &master)
                                        ? SubframeSummary::ofMaster(master)
                                        : SubframeSummary();
    const Values extra =
        summary.placeholders(DateStyle::fromSettings(settings), settings.englishMonths()) + field;
    result.hasData = !data.isEmpty() || !extra.isEmpty();
    result.panel = refill(panel, data, patterns(settings), last, QTimeZone(), extra);
    return result;
}

std::optional<QDateTime> siteTime(const PhotoMetadata &data, const QTimeZone &zone)
{
    if (const auto m = fitsMoment(data.value(QStringLiteral("DATE-LOC"))); m && m->time)
        return localMoment(m->date, *m->time, zone);
    if (const auto m = fitsMoment(data.value(QStringLiteral("DATE-OBS"))); m && m->time)
        return shownIn(QDateTime(m->date, *m->time, Qt::UTC), zone);
    if (const auto m = exifMoment(data.value(QStringLiteral("DateTimeOriginal")))) {
        if (const auto offset = exifOffset(data.value(QStringLiteral("OffsetTimeOriginal"))))
            return QDateTime(m->date, *m->time, Qt::OffsetFromUTC, *offset);
        return localMoment(m->date, *m->time, zone);
    }
    return std::nullopt;
}

} // namespace CaptionFill
