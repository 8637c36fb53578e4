#pragma once

#include <QtGlobal>

#include <optional>

class AppSettings;

enum class DateOrder
{
    YearMonthDay,
    MonthDayYear
};

enum class DateDelimiter
{
    Slash,  // 2001/12/25
    Hyphen, // 2001-12-25
    Period, // 2001.12.25
    Kanji   // 2001年12月25日
};

// How the date of item 1 is written. The settings file keeps both parts as numbers
// ("DateFormat", "DelimFormat"); they become these values here and nowhere else.
struct DateStyle
{
    DateOrder order = DateOrder::YearMonthDay;
    DateDelimiter delimiter = DateDelimiter::Slash;

    // dateFormat 0 is year first and 1 month first; other numbers name no order (the panel's
    // date fields then stay where they are).
    static std::optional<DateOrder> orderFromCode(qint32 dateFormat);
    // An order the code does not name writes the year first; a delimiter outside 0..3 is "/".
    static DateStyle fromCodes(qint32 dateFormat, qint32 delimiterFormat);
    static DateStyle fromSettings(const AppSettings &settings);
};
