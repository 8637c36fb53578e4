#include "DateStyle.h"

#include "store/AppSettings.h"

std::optional<DateOrder> DateStyle::orderFromCode(qint32 dateFormat)
{
    switch (dateFormat) {
    case 0:
        return DateOrder::YearMonthDay;
    case 1:
        return DateOrder::MonthDayYear;
    default:
        return std::nullopt;
    }
}

DateStyle DateStyle::fromCodes(qint32 dateFormat, qint32 delimiterFormat)
{
    DateStyle style;
    style.order = orderFromCode(dateFormat).value_or(DateOrder::YearMonthDay);
    if (delimiterFormat >= 0 && delimiterFormat <= qint32(DateDelimiter::Kanji))
        style.delimiter = DateDelimiter(delimiterFormat);
    return style;
}

DateStyle DateStyle::fromSettings(const AppSettings &settings)
{
    return fromCodes(settings.dateFormat(), settings.delimiterFormat());
}
