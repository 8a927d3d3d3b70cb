#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/charlocale.h"

namespace kivrel {

namespace {

constexpr const char* kUtf8 = "C.UTF-8";

bool IsPlainLocale(const char* name) {
    // No name: the environment names a locale this machine lacks, which leaves the C locale.
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

}  // namespace

void UseUtf8CharacterType() {
    if (!IsPlainLocale(std::setlocale(LC_CTYPE, "")))
        return;
    if (std::setlocale(LC_CTYPE, kUtf8) == nullptr)
        return;  // no C.UTF-8 either: nothing better to offer
    // LC_ALL would override LC_CTYPE: it is spread over the other categories instead, so
    // that collation, dates and messages stay as the user set them.
    if (const char* all = std::getenv("LC_ALL"); all && *all) {
        const std::string value = all;
        for (const char* category :
             {"LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME", "LC_ADDRESS",
              "LC_IDENTIFICATION", "LC_MEASUREMENT", "LC_NAME", "LC_PAPER", "LC_TELEPHONE"})
            ::setenv(category, value.c_str(), 1);
        ::unsetenv("LC_ALL");
    }
    // Qt sets the locale from the environment again, and so do the programs started from here.
    ::setenv("LC_CTYPE", kUtf8, 1);
}

}  // namespace kivrel
