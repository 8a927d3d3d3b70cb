#include "base/textrules.h"

#include <gtest/gtest.h>

namespace kivrel {
namespace {

TEST(TextRules, BlanksOnlyVersusSpacesAndControls) {
    EXPECT_EQ(TrimBlanks("  van Berg  "), "van Berg");
    EXPECT_EQ(TrimBlanks("\tJan\t"), "\tJan\t");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimSpacesAndControls("\t\r\n Ort \x01"), "Ort");
    EXPECT_EQ(TrimSpacesAndControls(" a b "), "a b");
    EXPECT_TRUE(IsBlank(" \t\r\n"));
    EXPECT_TRUE(IsBlank(""));
    EXPECT_FALSE(IsBlank(" \xA0 "));  // a no-break space is a character like any other
}

}  // namespace
}  // namespace kivrel
