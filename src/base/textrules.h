#pragma once

#include <string>
#include <string_view>

// The two blank rules of the input checks.
namespace kivrel {

// "Blanks removed at both ends": the participant and age-group checks trim spaces only.
std::string TrimBlanks(std::string_view text);

// "Spaces and control characters removed": the event and sender checks also drop every
// character below the space at both ends.
std::string TrimSpacesAndControls(std::string_view text);

inline bool IsBlank(std::string_view text) {
    return TrimSpacesAndControls(text).empty();
}

}  // namespace kivrel
