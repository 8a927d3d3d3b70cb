#include "participants/importvalues.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "base/cp1252.h"
#include "base/daynumber.h"
#include "base/textrules.h"
#include "model/konstanten.h"

namespace kivrel {

namespace {

char LowerCp1252(char c) {
    const auto u = static_cast<unsigned char>(c);
    // A-Z and the upper-case accented letters, leaving out the multiplication sign.
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 32);
    return c;
}

// Lower case without any blank: "9.kyu" for " 9. Kyu".
std::string Folded(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ')
            out += LowerCp1252(c);
    }
    return out;
}

// A time of day after a date, as databases export it: "00:00", "00:00:00", "00:00:00.000".
bool IsTimeOfDay(std::string_view text) {
    const std::size_t colon = text.find(':');
    return colon != std::string_view::npos && colon >= 1 && colon <= 2 &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return IsDigit(c) || c == ':' || c == '.'; });
}

std::optional<int> YearOfDate(std::string_view text, int currentYear) {
    // "01.02.2010 00:00", "2010-02-01 00:00:00", "2010-02-01T00:00"
    if (const std::size_t split = text.find_first_of(" T"); split != std::string_view::npos) {
        std::string_view time = text.substr(split + 1);
        time.remove_prefix(std::min(time.find_first_not_of(' '), time.size()));
        if (!IsTimeOfDay(time))
            return std::nullopt;
        text = text.substr(0, split);
    }
    int day = 0;
    int month = 0;
    int year = 0;
    const std::size_t dash = text.find('-');
    if (dash != std::string_view::npos) {
        // yyyy-mm-dd, as ISO and the spreadsheets' standard date format write it.
        const std::size_t second = text.find('-', dash + 1);
        if (dash != 4 || second == std::string_view::npos)
            return std::nullopt;
        const auto y = DigitsValue(text.substr(0, 4));
        const auto m = DigitsValue(text.substr(5, second - 5));
        const auto d = DigitsValue(text.substr(second + 1));
        if (!y || !m || !d || second - 5 > 2 || text.size() - second - 1 > 2)
            return std::nullopt;
        year = *y, month = *m, day = *d;
    } else {
        // d.m.yyyy and dd.mm.yy as German systems write dates; m/d/yy as English ones do
        // (or d/m/yy: for the year either order will do).
        const char mark = text.find('/') != std::string_view::npos ? '/' : '.';
        const std::size_t first = text.find(mark);
        const std::size_t second =
            first == std::string_view::npos ? first : text.find(mark, first + 1);
        if (second == std::string_view::npos)
            return std::nullopt;
        const std::string_view y = text.substr(second + 1);
        const auto d = first <= 2 ? DigitsValue(text.substr(0, first)) : std::nullopt;
        const auto m = second - first - 1 <= 2
                           ? DigitsValue(text.substr(first + 1, second - first - 1))
                           : std::nullopt;
        const auto yy = y.size() == 2 || y.size() == 4 ? DigitsValue(y) : std::nullopt;
        if (!d || !m || !yy)
            return std::nullopt;
        day = *d, month = *m, year = *yy;
        if (y.size() == 2) {
            const int century = currentYear / 100 * 100;
            year += year <= currentYear % 100 ? century : century - 100;
        }
        if (mark == '/' && !IsValidCalendarDate(year, month, day))
            std::swap(day, month);
    }
    if (!IsValidCalendarDate(year, month, day))
        return std::nullopt;
    return year;
}

}  // namespace

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerCp1252);
    return out;
}

std::string YearOf(std::string_view text, int currentYear) {
    if (const std::optional<int> year = YearOfDate(text, currentYear))
        return std::to_string(*year);
    return std::string(text);
}

std::optional<bool> FlagOf(std::string_view text) {
    const std::string lower = Lower(text);
    for (const char* no : {"", "0", "nein", "-", "falsch", "false"}) {
        if (lower == no)
            return false;
    }
    for (const char* yes : {"1", "x", "ja", "wahr", "true"}) {
        if (lower == yes)
            return true;
    }
    return std::nullopt;
}

std::optional<std::int32_t> GradeOf(std::string_view text) {
    static const std::unordered_map<std::string, std::int32_t> kGrades = [] {
        std::unordered_map<std::string, std::int32_t> grades{{"[unbekannt]", 0}, {"unbekannt", 0}};
        for (int i = 0; i < kGradeCount; ++i)
            grades.emplace(Folded(Graduierungen[static_cast<std::size_t>(i)]), i + 1);
        return grades;
    }();
    if (text.empty())
        return -1;
    const auto it = kGrades.find(Folded(text));
    if (it == kGrades.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> GenderOf(std::string_view text) {
    const std::string lower = Lower(text);
    if (lower.empty())
        return std::string();
    static const std::string kMaennlich = Win1252("männlich");
    if (lower == "m" || lower == kMaennlich)
        return "m";
    if (lower == "w" || lower == "weiblich")
        return "w";
    if (lower == "g" || lower == "gemischt")
        return "g";
    return std::nullopt;
}

}  // namespace kivrel
