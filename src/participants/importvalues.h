#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The values of a member list's cells as clubs' spreadsheets hold them, read into the
// participant's fields. Texts are Windows-1252.
namespace kivrel {

// Lower case in Windows-1252 (A-Z and the accented capitals).
std::string Lower(std::string_view text);

// The year of a birth date "d.m.yyyy", "dd.mm.yy", "yyyy-mm-dd" or "m/d/yy", also with a
// time of day after it ("01.02.2010 00:00", "2010-02-01T00:00:00"); a two-digit
// year not after the current year's two digits is 20xx, any other 19xx. Other texts come back as
// they are, for the year rule to judge.
std::string YearOf(std::string_view text, int currentYear);

// The flags Kata and Allkategorie: empty, "0", "nein", "-", "falsch", "false" are false;
// "1", "x", "ja", "wahr", "true" true (case ignored); nullopt for anything else.
std::optional<bool> FlagOf(std::string_view text);

// The grade index of a grade name ("1. Kyu", "1.kyu", "[unbekannt]"), -1 for an empty
// text; nullopt when there is no grade of that name.
std::optional<std::int32_t> GradeOf(std::string_view text);

// "m", "w" or "g" for the letter or the word, case ignored; "" for an empty text; nullopt
// for anything else.
std::optional<std::string> GenderOf(std::string_view text);

}  // namespace kivrel
