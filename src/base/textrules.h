#pragma once

#include <optional>
#include <string>
#include <string_view>

// The two blank rules of the input checks, and reading numbers out of texts.
namespace kivrel {

// "Blanks removed at both ends": the participant and age-group checks trim spaces only.
std::string TrimBlanks(std::string_view text);

// "Spaces and control characters removed": the event and sender checks also drop every
// character below the space at both ends.
std::string TrimSpacesAndControls(std::string_view text);

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number that a text of one to nine decimal digits spells (leading zeros allowed, no
// sign, no blank); nullopt for anything else.
std::optional<int> DigitsValue(std::string_view text);

inline bool IsBlank(std::string_view text) {
    return TrimSpacesAndControls(text).empty();
}

}  // namespace kivrel
