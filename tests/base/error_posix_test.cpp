#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>

#include "base/cp1252.h"
#include "base/error.h"

namespace kivrel {
namespace {

// A German Linux gives the system's texts in UTF-8; the program's texts are Windows-1252.
TEST(SystemError, TheSystemsTextInTheUsersLanguageAsTheProgramsText) {
    const std::string messages = std::setlocale(LC_MESSAGES, nullptr);
    const std::string ctype = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_MESSAGES, "de_DE.UTF-8") || !std::setlocale(LC_CTYPE, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German UTF-8 locale here";
    EXPECT_EQ(SystemErrorText(EFBIG), Win1252("Die Datei ist zu groß"));
    std::setlocale(LC_MESSAGES, messages.c_str());
    std::setlocale(LC_CTYPE, ctype.c_str());
}

}  // namespace
}  // namespace kivrel
