#include "SubframeSummary.h"

#include "PanelValues.h"
#include "PreviewCommand.h"
#include "io/PhotoMetadata.h"
#include "io/SubframeHeader.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kMicroseconds = 1000000;
constexpr double kMaxSeconds = 1e12;

// Compared without letter case, blanks, "-" and "_" ("Dark Frame", "DARK", "dark_frame").
const char *const kCalibrationTypes[] = {
    "Dark Frame", "Dark",   "Flat Field", "Flat Frame", "Flat",      "Bias Frame",
    "Bias",       "Offset", "Dark Flat",  "DarkFlat",   "Flat Dark", "FlatDark",
};

QString folded(const QString &text)
{
    QString f;
    for (const QChar c : text) {
        if (!c.isSpace() && c != u'-' && c != u'_')
            f += c.toLower();
    }
    return f;
}

bool isCalibrationWord(const QString &word)
{
    for (const char *type : kCalibrationTypes) {
        if (word == folded(QLatin1String(type)))
            return true;
    }
    return false;
}

// Seconds as a group's key: rounded to 0.01 s, or to 0.0001 s under 0.1 s (short camera frames).
qint64 exposureKey(double seconds)
{
    const qint64 step = seconds < 0.1 ? 100 : 10000;
    return std::llround(seconds * kMicroseconds / step) * step;
}

std::optional<double> positive(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0 || value >= kMaxSeconds)
        return std::nullopt;
    return value;
}

// The night a frame belongs to: the date of the evening before, from noon to noon.
QDate nightOf(const QDateTime &taken)
{
    return taken.time() < QTime(12, 0) ? taken.date().addDays(-1) : taken.date();
}

QString nightText(const QDate &night, const DateStyle &style, bool englishMonths)
{
    return PreviewCommand::dateTimeText(
        QStringLiteral("%1").arg(night.year(), 4, 10, QLatin1Char('0')),
        PanelValues::monthListTexts(englishMonths).at(night.month() - 1),
        QStringLiteral("%1").arg(night.day(), 2, 10, QLatin1Char('0')), QString(), style);
}

} // namespace

const QStringList &SubframeSummary::names()
{
    static const QStringList names = {QStringLiteral("INTEGRATION"), QStringLiteral("SUBS"),
                                      QStringLiteral("NIGHTS"), QStringLiteral("FIRST_NIGHT"),
                                      QStringLiteral("LAST_NIGHT")};
    return names;
}

const QStringList &SubframeSummary::calibrationTypes()
{
    static const QStringList types = [] {
        QStringList t;
        for (const char *type : kCalibrationTypes)
            t << QString::fromLatin1(type);
        return t;
    }();
    return types;
}

bool SubframeSummary::isCalibration(const QString &frameType)
{
    QString word = folded(frameType);
    if (word.startsWith(QLatin1String("master")))
        word.remove(0, 6);
    return isCalibrationWord(word);
}

bool SubframeSummary::isCalibrationFolder(const QString &folderName)
{
    const QString word = folded(folderName);
    return isCalibrationWord(word) || (word.endsWith(u's') && isCalibrationWord(word.chopped(1))) ||
           (word.endsWith(QLatin1String("es")) && isCalibrationWord(word.chopped(2)));
}

SubframeSummary SubframeSummary::read(const QStringList &paths, const QTimeZone &zone,
                                      const Progress &progress)
{
    SubframeSummary summary;
    QStringList missing;
    const QStringList files = SubframeHeader::files(paths, &missing);
    for (const QString &path : missing)
        summary.skip(path, tr("見つかりません。"));
    for (int i = 0; i < files.size(); ++i) {
        PhotoMetadata data;
        QString reason;
        if (SubframeHeader::read(files.at(i), &data, &reason))
            summary.add(files.at(i), data, zone, i);
        else
            summary.skip(files.at(i), reason);
        if (progress && !progress(i + 1, int(files.size()))) {
            summary.m_cancelled = true;
            break;
        }
    }
    return summary;
}

SubframeSummary SubframeSummary::ofMaster(const PhotoMetadata &data)
{
    SubframeSummary summary;
    bool countOk = false;
    const int count = data.value(QLatin1String(SubframeHeader::StackCount)).toInt(&countOk);
    const auto exposure = positive(data.value(QLatin1String(SubframeHeader::Exposure)));
    const auto total = positive(data.value(QLatin1String(SubframeHeader::LiveTime)));
    if (countOk && count > 0 && exposure) {
        const bool exposureIsTotal = total && count > 1 && std::fabs(*exposure - *total) < 0.5;
        const double each = exposureIsTotal ? *total / count : *exposure;
        summary.m_frames.append(
            {data.value(QLatin1String(SubframeHeader::Filter)), exposureKey(each), {}, 0, count});
        summary.m_lights = count;
    } else if (countOk && count > 0 && total) {
        summary.m_lights = count;
    }
    summary.m_totalSeconds = total.value_or(0);
    return summary;
}

void SubframeSummary::add(const QString &path, const PhotoMetadata &data, const QTimeZone &zone,
                          int order)
{
    const QString type = data.value(QLatin1String(SubframeHeader::FrameType));
    if (type.isEmpty() ? isCalibrationFolder(QFileInfo(path).dir().dirName())
                       : isCalibration(type)) {
        ++m_calibration;
        return;
    }
    const auto exposure = positive(data.value(QLatin1String(SubframeHeader::Exposure)));
    if (!exposure) {
        ++m_withoutExposure;
        return;
    }
    ++m_lights;
    m_frames.append({data.value(QLatin1String(SubframeHeader::Filter)), exposureKey(*exposure),
                     CaptionFill::siteTime(data, zone).value_or(QDateTime()), order, 1});
}

void SubframeSummary::skip(const QString &path, const QString &reason)
{
    m_skipped.append({path, reason});
}

QList<SubframeSummary::Group> SubframeSummary::groups() const
{
    QList<Frame> frames = m_frames;
    std::stable_sort(frames.begin(), frames.end(), [](const Frame &a, const Frame &b) {
        if (a.taken.isValid() != b.taken.isValid())
            return a.taken.isValid();
        if (a.taken.isValid() && a.taken != b.taken)
            return a.taken < b.taken;
        return a.order < b.order;
    });
    QList<QList<Group>> byFilter; // filters in order, each with its exposures in order
    for (const Frame &frame : frames) {
        auto filter = std::find_if(byFilter.begin(), byFilter.end(), [&](const QList<Group> &g) {
            return g.first().filter.compare(frame.filter, Qt::CaseInsensitive) == 0;
        });
        if (filter == byFilter.end()) {
            byFilter.append({{frame.filter, frame.exposureUs, 0}});
            filter = byFilter.end() - 1;
        }
        auto group = std::find_if(filter->begin(), filter->end(),
                                  [&](const Group &g) { return g.exposureUs == frame.exposureUs; });
        if (group == filter->end()) {
            filter->append({filter->first().filter, frame.exposureUs, 0});
            group = filter->end() - 1;
        }
        group->count += frame.count;
    }
    QList<Group> groups;
    for (const QList<Group> &filter : byFilter)
        groups += filter;
    return groups;
}

QList<QDate> SubframeSummary::nights() const
{
    QList<QDate> nights;
    for (const Frame &frame : m_frames) {
        if (frame.taken.isValid())
            nights << nightOf(frame.taken);
    }
    std::sort(nights.begin(), nights.end());
    nights.erase(std::unique(nights.begin(), nights.end()), nights.end());
    return nights;
}

double SubframeSummary::totalSeconds() const
{
    if (m_totalSeconds > 0)
        return m_totalSeconds;
    qint64 total = 0;
    for (const Frame &frame : m_frames)
        total += frame.exposureUs * frame.count;
    return double(total) / kMicroseconds;
}

QString SubframeSummary::durationText(double seconds)
{
    if (seconds < 59.5)
        return tr("%1秒").arg(std::lround(seconds));
    const long long minutes = std::llround(seconds / 60);
    if (minutes < 60)
        return tr("%1分").arg(minutes);
    return tr("%1時間%2分").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

CaptionFill::Values SubframeSummary::placeholders(const DateStyle &dateStyle,
                                                  bool englishMonths) const
{
    CaptionFill::Values values;
    if (isEmpty())
        return values;
    QString integration;
    for (const Group &group : groups()) {
        const QString exposure =
            PhotoMetadata::numberText(double(group.exposureUs) / kMicroseconds, 4);
        const QString text =
            group.filter.isEmpty()
                ? tr("%1×%2秒").arg(group.count).arg(exposure)
                : tr("%1 %2×%3秒").arg(group.filter).arg(group.count).arg(exposure);
        integration = integration.isEmpty() ? text : tr("%1 %2", "groups").arg(integration, text);
    }
    const QString total = durationText(totalSeconds());
    integration =
        integration.isEmpty() ? tr("計%1").arg(total) : tr("%1 計%2").arg(integration, total);
    values.append({names().at(0), integration});
    if (m_lights > 0)
        values.append({names().at(1), QString::number(m_lights)});
    const QList<QDate> nights = this->nights();
    if (!nights.isEmpty()) {
        values.append({names().at(2), QString::number(nights.size())});
        values.append({names().at(3), nightText(nights.first(), dateStyle, englishMonths)});
        values.append({names().at(4), nightText(nights.last(), dateStyle, englishMonths)});
    }
    return values;
}

QString SubframeSummary::report() const
{
    QStringList notes;
    if (m_calibration > 0)
        notes << tr("ダーク・フラット・バイアス %n 枚を除外", nullptr, m_calibration);
    if (m_withoutExposure > 0)
        notes << tr("露出時間のない %n 枚を除外", nullptr, m_withoutExposure);
    if (!m_skipped.isEmpty())
        notes << tr("読めない %n ﾌｧｲﾙ", nullptr, int(m_skipped.size()));
    QString text = tr("サブフレーム: ライト %n 枚", nullptr, m_lights);
    if (!notes.isEmpty())
        text += tr(" (%1)").arg(notes.join(tr("、")));
    if (m_cancelled)
        text += tr("、中断しました");
    return text;
}
