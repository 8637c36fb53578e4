#include "PanelValues.h"

#include "ClockText.h"
#include "TextNumber.h"
#include "store/TemplateFile.h"

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
                                         bool englishMonths)
{
    PanelValues p;
    p.photoSizeText = QString::fromUtf16(kStartupPhotoSize);
    p.frameColor = White;
    p.backColor = Black;
    p.frameSizeIndex = 0;
    p.englishMonths = englishMonths;
    p.setDateAndTime(now);
    const QString startupFont = findFont(fontNames, QString::fromUtf16(kStartupFontName));
    for (FontRow &row : p.fonts) {
        row.fontName = startupFont;
        row.fontSize = QString::fromUtf16(kStartupFontSize);
        row.fontColor = White;
    }
    return p;
}

void PanelValues::setDateAndTime(const QDateTime &now)
{
    const QDate date = now.date();
    monthIndex = date.month() - 1;
    dayIndex = date.day() - 1;
    year = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    time = ClockText::timeText(now);
}

QStringList PanelValues::monthListTexts(bool englishMonths)
{
    if (englishMonths) {
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
    return frameSizeListText(frameSizeIndex);
}

QString PanelValues::monthText() const
{
    if (monthIndex < 0 || monthIndex >= MonthCount)
        return {};
    return monthListTexts(englishMonths).at(monthIndex);
}

QString PanelValues::dayText() const
{
    return dayListText(dayIndex);
}

void PanelValues::applyTemplate(const TemplateFile &tpl, bool keepDateAndTime,
                                const QStringList &fontNames)
{
    photoSizeText = tpl.frameSize();
    frameColor = tpl.borderColor();
    backColor = tpl.backColor();
    selectByNumber(frameSizeIndex, qint64(tpl.borderWidth()) - 1, FrameSizeCount);
    if (!keepDateAndTime) {
        selectByNumber(monthIndex, tpl.month(), MonthCount);
        selectByNumber(dayIndex, tpl.day(), DayCount);
        year = tpl.year();
        time = tpl.time();
    }
    targetName = tpl.data(0);
    for (int f = 0; f < FooterCount; ++f)
        footer[f] = tpl.data(f + 2);
    for (int i = 0; i < ItemCount; ++i) {
        FontRow &row = fonts[i];
        const QString name = findFont(fontNames, tpl.fontName(i));
        if (!name.isEmpty())
            row.fontName = name;
        row.fontSize = QString::number(tpl.fontSize(i));
        row.fontColor = tpl.fontColor(i);
        row.bold = tpl.fontBold(i);
        row.italic = tpl.fontItalic(i);
        row.strikethrough = tpl.fontStrikethru(i);
        row.underline = tpl.fontUnderline(i);
    }
    for (int f = 0; f < FooterCount; ++f) {
        // Entry fontAlign + 1 of the drop-down; codes 3 and 4 are taken for item 2 as well.
        if (const auto code = footerAlignFromCode(tpl.fontAlign(f + 2)))
            align[f] = *code;
    }
    subframeFolder = tpl.subframeFolder();
    sky = tpl.sky();
}

void PanelValues::toTemplate(TemplateFile &tpl) const
{
    tpl.setFrameSize(photoSizeText);
    tpl.setBorderColor(frameColor);
    tpl.setBackColor(backColor);
    if (const auto width = TextNumber::number(frameSizeText()))
        tpl.setBorderWidth(*width);
    tpl.setMonth(monthIndex);
    tpl.setDay(dayIndex);
    tpl.setYear(year);
    tpl.setTime(time);
    tpl.setData(0, targetName);
    for (int f = 0; f < FooterCount; ++f)
        tpl.setData(f + 2, footer[f]);
    for (int i = 0; i < ItemCount; ++i) {
        const FontRow &row = fonts[i];
        tpl.setFontName(i, row.fontName);
        if (const auto size = TextNumber::leadingNumber(row.fontSize))
            tpl.setFontSize(i, *size);
        tpl.setFontColor(i, row.fontColor);
        tpl.setFontBold(i, row.bold);
        tpl.setFontItalic(i, row.italic);
        tpl.setFontStrikethru(i, row.strikethrough);
        tpl.setFontUnderline(i, row.underline);
    }
    for (int f = 0; f < FooterCount; ++f)
        tpl.setFontAlign(f + 2, qint32(align[f]));
    tpl.setSubframeFolder(subframeFolder);
    tpl.setSky(sky);
}
