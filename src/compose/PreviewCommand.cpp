#include "PreviewCommand.h"

#include "FrameDescription.h"
#include "PanelValues.h"
#include "TextNumber.h"

namespace {

struct Delimiters
{
    QString d1, d2, d3;
};

Delimiters delimitersFor(DateDelimiter delimiter)
{
    switch (delimiter) {
    case DateDelimiter::Hyphen:
        return {QStringLiteral("-"), QStringLiteral("-"), {}};
    case DateDelimiter::Period:
        return {QStringLiteral("."), QStringLiteral("."), {}};
    case DateDelimiter::Kanji:
        return {QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日")};
    case DateDelimiter::Slash:
        break;
    }
    return {QStringLiteral("/"), QStringLiteral("/"), {}};
}

// The font fields of item i from its font row; a size that does not convert keeps its value.
void takeFont(const PanelValues::FontRow &row, TextItem &item)
{
    item.FontName = row.FontName;
    if (const auto size = TextNumber::leadingNumber(row.FontSize))
        item.FontSize = *size;
    item.FontColor = row.FontColor;
    item.FontBold = row.Bold != 0;
    item.FontItalic = row.Italic != 0;
    item.FontStrikethru = row.Strikethrough != 0;
    item.FontUnderline = row.Underline != 0;
}

} // namespace

namespace PreviewCommand {

QString dateTimeText(const QString &year, const QString &month, const QString &day,
                     const QString &time, const DateStyle &dateStyle)
{
    const Delimiters d = delimitersFor(dateStyle.delimiter);
    const bool monthFirst = dateStyle.order == DateOrder::MonthDayYear;
    QString date;
    if (monthFirst && dateStyle.delimiter == DateDelimiter::Kanji)
        date = month + d.d2 + day + d.d3 + year + d.d1;
    else if (monthFirst)
        date = month + d.d2 + day + d.d1 + year + d.d3;
    else
        date = year + d.d1 + month + d.d2 + day + d.d3;
    return time.isEmpty() ? date : date + QLatin1Char(' ') + time;
}

void takePhotoSize(const QString &text, FrameDescription &frame)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() >= 2) {
        if (const auto w = TextNumber::number(parts.at(0)))
            frame.PhotoWidth = *w;
        if (const auto h = TextNumber::number(parts.at(1)))
            frame.PhotoHeight = *h;
    } else if (const auto w = TextNumber::number(parts.at(0))) {
        frame.PhotoWidth = *w;
    }
}

void toFrameDescription(const PanelValues &panel, const DateStyle &dateStyle,
                        FrameDescription &frame)
{
    takePhotoSize(panel.PhotoSizeText, frame);
    frame.BorderColor = panel.FrameColor;
    frame.BackColor = panel.BackColor;
    if (const auto width = TextNumber::number(panel.frameSizeText()))
        frame.BorderWidth = *width;

    TextItem &name = frame.TextItems[0];
    name.Text = panel.TargetName;
    takeFont(panel.Fonts[0], name);
    name.FontAlign = FooterAlign::Left;

    TextItem &date = frame.TextItems[1];
    date.Text = dateTimeText(panel.Year, panel.monthText(), panel.dayText(), panel.Time, dateStyle);
    takeFont(panel.Fonts[1], date);
    date.FontAlign = FooterAlign::Right;

    for (int i = 2; i < FrameDescription::ItemCount; ++i) {
        TextItem &footer = frame.TextItems[i];
        footer.Text = panel.Footer[i - 2];
        takeFont(panel.Fonts[i], footer);
        footer.FontAlign = panel.Align[i - 2];
    }
}

} // namespace PreviewCommand
