#include "base/collation.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"

namespace kivrel {
namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(Collation, CaseIgnoredAccentsKept) {
    EXPECT_LT(CollateCompare("abel", "Bauer"), 0);
    EXPECT_EQ(CollateCompare(Win1252("Müller"), Win1252("müller")), 0);
    EXPECT_NE(CollateCompare(Win1252("Muller"), Win1252("Müller")), 0);
    EXPECT_EQ(CollateCompare("U14 (m)", "u14 (M)"), 0);
    EXPECT_NE(CollateCompare("U14 (m)", "U14 (w)"), 0);
    EXPECT_LT(CollateCompare("Adler Ben", "Adler Tim"), 0);
}

TEST(Collation, KeysOrderLikeTheComparison) {
    const char* words[] = {"abel",      "Bauer",    "bauer",        "M\xFCller", "Muller",
                           "m\xFCller", "Zander",   "van Berg Jan", "van Berg",  "",
                           " ",         "\xC4rger", "Arger",        "\x80uro"};
    for (const char* a : words) {
        for (const char* b : words) {
            const int byKey = CollationKey(a).compare(CollationKey(b));
            EXPECT_EQ(Sign(byKey), Sign(CollateCompare(a, b))) << a << " / " << b;
        }
    }
}

}  // namespace
}  // namespace kivrel
