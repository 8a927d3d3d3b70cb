// The store-file parser on arbitrary bytes. Whatever it accepts, the writer must give back
// in a form that reads as the same hive and is written the same again; so a file the
// program rewrites never changes what it holds.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "details/registryfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto parsed = kivrel::ParseRegFile(bytes);
    if (!parsed)
        return 0;
    const std::string text = kivrel::FormatRegFile(parsed->hive);
    const auto again = kivrel::ParseRegFile(text);
    if (!again || again->lossy || !(again->hive == parsed->hive) ||
        kivrel::FormatRegFile(again->hive) != text) {
        std::abort();
    }
    return 0;
}
