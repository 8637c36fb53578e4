#include "PanelValues.h"

#include "ClockText.h"
#include "TextNumber.h"
#include "store/clsTemplateIO.h"

#include <limits>

namespace {

constexpr qint32 White = 0x00FFFFFF;
constexpr qint32 Black = 0x00000000;
const char16_t *const kStartupPhotoSize = u"160x120";
const char16_t *const kStartupFontName = u"ＭＳ ゴシック";
const char16_t *const kStartupFontSize = u"10";

// A list selection by number: an existing entry selects it, -1 clears, anything else (a number
// that does not fit 16 bits included) keeps the previous selection.
void selectByNumber(int &selection, qint64 number, int entryCount)
{
    if (number >= 0 && number < entryCount)
        selection = int(number);
    else if (number == -1)
        selection = -1;
}

QString twoDigits(int index)
{
    return QStringLiteral("%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

// The list's own spelling of a font name, exact match first, then ignoring letter case.
QString findFont(const QStringList &fontNames, const QString &name)
{
    if (name.isEmpty())
        return {};
    if (fontNames.contains(name))
        return name;
    for (const QString &n : fontNames) {
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    }
    return {};
}

} // namespace

PanelValues PanelValues::startupDefaults(const QDateTime &now, const QStringList &fontNames,
                                         bool threeCharMonth)
{
    PanelValues p;
    p.PhotoSizeText = QString::fromUtf16(kStartupPhotoSize);
    p.FrameColor = White;
    p.BackColor = Black;
    p.FrameSizeIndex = 0;
    p.ThreeCharMonth = threeCharMonth;
    p.setDateAndTime(now);
    const QString startupFont = findFont(fontNames, QString::fromUtf16(kStartupFontName));
    for (FontRow &row : p.Fonts) {
        row.FontName = startupFont;
        row.FontSize = QString::fromUtf16(kStartupFontSize);
        row.FontColor = White;
    }
    return p;
}

void PanelValues::setDateAndTime(const QDateTime &now)
{
    const QDate date = now.date();
    MonthIndex = date.month() - 1;
    DayIndex = date.day() - 1;
    Year = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    Time = ClockText::timeText(now);
}

QStringList PanelValues::monthListTexts(bool threeCharMonth)
{
    if (threeCharMonth) {
        return {QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"),
                QStringLiteral("Apr"), QStringLiteral("May"), QStringLiteral("Jun"),
                QStringLiteral("Jul"), QStringLiteral("Aug"), QStringLiteral("Sep"),
                QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
    }
    QStringList texts;
    for (int i = 0; i < MonthCount; ++i)
        texts << twoDigits(i);
    return texts;
}

QString PanelValues::frameSizeListText(int index)
{
    return index >= 0 && index < FrameSizeCount ? twoDigits(index) : QString();
}

QString PanelValues::dayListText(int index)
{
    return index >= 0 && index < DayCount ? twoDigits(index) : QString();
}

QString PanelValues::frameSizeText() const
{
    return frameSizeListText(FrameSizeIndex);
}

QString PanelValues::monthText() const
{
    if (MonthIndex < 0 || MonthIndex >= MonthCount)
        return {};
    return monthListTexts(ThreeCharMonth).at(MonthIndex);
}

QString PanelValues::dayText() const
{
    return dayListText(DayIndex);
}

void PanelValues::applyTemplate(const clsTemplateIO &tpl, bool keepDateAndTime,
                                const QStringList &fontNames)
{
    PhotoSizeText = tpl.FrameSize();
    FrameColor = tpl.BorderColor();
    BackColor = tpl.BackColor();
    selectByNumber(FrameSizeIndex, qint64(tpl.BorderWidth()) - 1, FrameSizeCount);
    if (!keepDateAndTime) {
        selectByNumber(MonthIndex, tpl.Month(), MonthCount);
        selectByNumber(DayIndex, tpl.Day(), DayCount);
        Year = tpl.Year();
        Time = tpl.Time();
    }
    TargetName = tpl.Data(0);
    for (int f = 0; f < FooterCount; ++f)
        Footer[f] = tpl.Data(f + 2);
    for (int i = 0; i < ItemCount; ++i) {
        FontRow &row = Fonts[i];
        const QString name = findFont(fontNames, tpl.FontName(i));
        if (!name.isEmpty())
            row.FontName = name;
        row.FontSize = QString::number(tpl.FontSize(i));
        row.FontColor = tpl.FontColor(i);
        row.Bold = tpl.FontBold(i) ? 1 : 0;
        row.Italic = tpl.FontItalic(i) ? 1 : 0;
        row.Strikethrough = tpl.FontStrikethru(i) ? 1 : 0;
        row.Underline = tpl.FontUnderline(i) ? 1 : 0;
    }
    for (int f = 0; f < FooterCount; ++f) {
        // Entry FontAlign + 1 of the drop-down; codes 3 and 4 are taken for item 2 as well.
        if (const auto align = footerAlignFromCode(tpl.FontAlign(f + 2)))
            Align[f] = *align;
    }
}

void PanelValues::toTemplate(clsTemplateIO &tpl) const
{
    tpl.FrameSize(PhotoSizeText);
    tpl.BorderColor(FrameColor);
    tpl.BackColor(BackColor);
    if (const auto width = TextNumber::number(frameSizeText()))
        tpl.BorderWidth(*width);
    tpl.Month(MonthIndex);
    tpl.Day(DayIndex);
    tpl.Year(Year);
    tpl.Time(Time);
    tpl.Data(0, TargetName);
    for (int f = 0; f < FooterCount; ++f)
        tpl.Data(f + 2, Footer[f]);
    for (int i = 0; i < ItemCount; ++i) {
        const FontRow &row = Fonts[i];
        tpl.FontName(i, row.FontName);
        if (const auto size = TextNumber::leadingNumber(row.FontSize))
            tpl.FontSize(i, *size);
        tpl.FontColor(i, row.FontColor);
        tpl.FontBold(i, row.Bold != 0);
        tpl.FontItalic(i, row.Italic != 0);
        tpl.FontStrikethru(i, row.Strikethrough != 0);
        tpl.FontUnderline(i, row.Underline != 0);
    }
    for (int f = 0; f < FooterCount; ++f)
        tpl.FontAlign(f + 2, qint32(Align[f]));
}
