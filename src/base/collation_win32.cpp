#include <windows.h>

#include <string>

#include "base/collation.h"

namespace kivrel {

namespace {

constexpr DWORD kFlags = NORM_IGNORECASE;

int ToInt(std::size_t size) {
    return static_cast<int>(size);
}

}  // namespace

int CollateCompare(std::string_view a, std::string_view b) {
    const int r = CompareStringA(LOCALE_USER_DEFAULT, kFlags, a.data(), ToInt(a.size()), b.data(),
                                 ToInt(b.size()));
    return r == CSTR_LESS_THAN ? -1 : (r == CSTR_GREATER_THAN ? 1 : 0);
}

std::string CollationKey(std::string_view text) {
    const int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kFlags, text.data(),
                                  ToInt(text.size()), nullptr, 0);
    if (size <= 0)
        return std::string(text);
    std::string key(static_cast<std::size_t>(size), '\0');
    LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | kFlags, text.data(), ToInt(text.size()),
                 reinterpret_cast<LPSTR>(key.data()), size);
    // The sort key ends in a zero byte that carries no order.
    key.pop_back();
    return key;
}

}  // namespace kivrel
