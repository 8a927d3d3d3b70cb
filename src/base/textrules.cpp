#include "base/textrules.h"

namespace kivrel {

namespace {

template <class Pred>
std::string TrimBy(std::string_view text, Pred isTrimmed) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isTrimmed(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && isTrimmed(static_cast<unsigned char>(text[last - 1])))
        --last;
    return std::string(text.substr(first, last - first));
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
    return TrimBy(text, [](unsigned char c) { return c == ' '; });
}

std::optional<int> DigitsValue(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int n = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string TrimSpacesAndControls(std::string_view text) {
    return TrimBy(text, [](unsigned char c) { return c <= ' '; });
}

}  // namespace kivrel
