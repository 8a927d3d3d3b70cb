#include "base/daynumber.h"

#include <cmath>
#include <cstdio>

#include "base/textrules.h"

namespace kivrel {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

CalendarDate CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long long kEpoch = DaysFromCivil(1899, 12, 30);

}  // namespace

bool IsValidCalendarDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = (month == 2 && leap) ? 29 : kDays[month - 1];
    return day <= last;
}

std::optional<double> DayNumberFromDate(int year, int month, int day) {
    if (!IsValidCalendarDate(year, month, day))
        return std::nullopt;
    const long long n =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch;
    if (n == 0)
        return std::nullopt;
    return static_cast<double>(n);
}

std::optional<CalendarDate> DateFromDayNumber(double dayNumber) {
    if (!std::isfinite(dayNumber))
        return std::nullopt;
    const double whole = std::trunc(dayNumber);
    // Years 1 to 9999 lie well inside this range.
    if (whole == 0 || whole < -700000 || whole > 3000000)
        return std::nullopt;
    const CalendarDate date = CivilFromDays(static_cast<long long>(whole) + kEpoch);
    if (!IsValidCalendarDate(date.year, date.month, date.day))
        return std::nullopt;
    return date;
}

std::string FormatDate(double dayNumber) {
    const auto date = DateFromDayNumber(dayNumber);
    if (!date)
        return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", date->day, date->month, date->year);
    return buffer;
}

std::optional<double> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[2] != '.' || text[5] != '.')
        return std::nullopt;
    const auto day = DigitsValue(text.substr(0, 2));
    const auto month = DigitsValue(text.substr(3, 2));
    const auto year = DigitsValue(text.substr(6, 4));
    if (!day || !month || !year)
        return std::nullopt;
    return DayNumberFromDate(*year, *month, *day);
}

}  // namespace kivrel
