#pragma once

#include <optional>
#include <string>
#include <string_view>

// Dates are day numbers as Windows counts them: days since 30 December 1899, held as a
// double whose fraction is the time of day (always 0 here). 0 means "no date".
namespace kivrel {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

bool IsValidCalendarDate(int year, int month, int day);

// The day number of a calendar date; nullopt when it is no date (31.02.2025) or would be
// day 0, which stands for "no date".
std::optional<double> DayNumberFromDate(int year, int month, int day);

// The calendar date of a day number (the fraction is ignored); nullopt for 0 and for
// numbers outside the years 1 to 9999 or that are not finite.
std::optional<CalendarDate> DateFromDayNumber(double dayNumber);

// "dd.MM.yyyy"; the empty text when the number is no date.
std::string FormatDate(double dayNumber);

// Reads exactly "dd.MM.yyyy" (two, two and four digits); nullopt for anything else and
// for dates that do not exist.
std::optional<double> ParseDate(std::string_view text);

}  // namespace kivrel
