#include "base/path.h"

#include <string_view>

#include "base/cp1252.h"

namespace kivrel {

tPath::string_type PathPart(const std::string& cp1252) {
    const std::string utf8 = Cp1252ToUtf8(cp1252);
    // As char8_t the library knows the text for UTF-8 on every system.
    return tPath(std::u8string(utf8.begin(), utf8.end())).native();
}

std::string PathText(const tPath& path) {
    try {
        const std::u8string utf8 = path.u8string();
        return Utf8ToCp1252Marked(
            std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
    } catch (const std::exception&) {
        // A Windows name with a broken UTF-16 sequence has no UTF-8 form.
        return "?";
    }
}

}  // namespace kivrel
