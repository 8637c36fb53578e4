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
    item.fontName = row.fontName;
    if (const auto size = TextNumber::leadingNumber(row.fontSize))
        item.fontSize = *size;
    item.fontColor = row.fontColor;
    item.fontBold = row.bold;
    item.fontItalic = row.italic;
    item.fontStrikethru = row.strikethrough;
    item.fontUnderline = row.underline;
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
            frame.photoWidth = *w;
        if (const auto h = TextNumber::number(parts.at(1)))
            frame.photoHeight = *h;
    } else if (const auto w = TextNumber::number(parts.at(0))) {
        frame.photoWidth = *w;
    }
}

void toFrameDescription(const PanelValues &panel, const DateStyle &dateStyle,
                        FrameDescription &frame)
{
    takePhotoSize(panel.photoSizeText, frame);
    frame.borderColor = panel.frameColor;
    frame.backColor = panel.backColor;
    if (const auto width = TextNumber::number(panel.frameSizeText()))
        frame.borderWidth = *width;

    TextItem &name = frame.textItems[0];
    name.text = panel.targetName;
    takeFont(panel.fonts[0], name);
    name.fontAlign = FooterAlign::Left;

    TextItem &date = frame.textItems[1];
    date.text = dateTimeText(panel.year, panel.monthText(), panel.dayText(), panel.time, dateStyle);
    takeFont(panel.fonts[1], date);
    date.fontAlign = FooterAlign::Right;

    for (int i = 2; i < FrameDescription::ItemCount; ++i) {
        TextItem &footer = frame.textItems[i];
        footer.text = panel.footer[i - 2];
        takeFont(panel.fonts[i], footer);
        footer.fontAlign = panel.align[i - 2];
    }
    frame.sky = panel.sky;
}

} // namespace PreviewCommand
