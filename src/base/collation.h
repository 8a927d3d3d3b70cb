#pragma once

#include <string>
#include <string_view>

// The order of the keyed lists: case ignored, accents kept, in the user's locale.
namespace kivrel {

// <0, 0 or >0 like strcmp; texts are Windows-1252. Texts that compare 0 are the same key.
int CollateCompare(std::string_view a, std::string_view b);

// A byte string whose plain byte order is the collation order of the text, so a sorted
// list compares a key once instead of once per comparison.
std::string CollationKey(std::string_view text);

}  // namespace kivrel
