#include <unicode/ucol.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/collation.h"
#include "base/cp1252.h"

namespace kivrel {

namespace {

// "de_DE.UTF-8@euro" -> "de_DE"; empty for the C and POSIX locales.
std::string LocaleName() {
    const char* name = nullptr;
    for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            name = v;
            break;
        }
    }
    std::string result = name ? name : "";
    result = result.substr(0, result.find_first_of(".@"));
    if (result == "C" || result == "POSIX")
        result.clear();
    return result;
}

struct CollatorDeleter {
    void operator()(UCollator* c) const { ucol_close(c); }
};

UCollator* Collator() {
    static std::unique_ptr<UCollator, CollatorDeleter> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open(LocaleName().c_str(), &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            c = ucol_open("", &status);
        }
        // Secondary strength: base letters and accents count, case does not.
        ucol_setStrength(c, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, CollatorDeleter>(c);
    }();
    return collator.get();
}

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char c : text) {
        // Every Windows-1252 code point lies in the basic plane.
        out +=
            static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c)).value_or(0xFFFD));
    }
    return out;
}

}  // namespace

int CollateCompare(std::string_view a, std::string_view b) {
    const std::u16string ua = ToUtf16(a);
    const std::u16string ub = ToUtf16(b);
    const UCollationResult r = ucol_strcoll(Collator(), ua.data(), static_cast<int32_t>(ua.size()),
                                            ub.data(), static_cast<int32_t>(ub.size()));
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

std::string CollationKey(std::string_view text) {
    const std::u16string u = ToUtf16(text);
    std::vector<uint8_t> buffer(u.size() * 4 + 16);
    int32_t length = ucol_getSortKey(Collator(), u.data(), static_cast<int32_t>(u.size()),
                                     buffer.data(), static_cast<int32_t>(buffer.size()));
    if (length > static_cast<int32_t>(buffer.size())) {
        buffer.resize(static_cast<std::size_t>(length));
        length = ucol_getSortKey(Collator(), u.data(), static_cast<int32_t>(u.size()),
                                 buffer.data(), length);
    }
    // The key ends in a zero byte that carries no order.
    if (length > 0)
        --length;
    return std::string(reinterpret_cast<const char*>(buffer.data()),
                       static_cast<std::size_t>(length));
}

}  // namespace kivrel
