#include "base/cp1252.h"

#include <gtest/gtest.h>

namespace kivrel {
namespace {

TEST(Cp1252, EveryAssignedByteRoundTripsAndTheFiveGapsMapToNothing) {
    const std::string gaps = "\x81\x8D\x8F\x90\x9D";
    int assigned = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const auto cp = Cp1252ToUnicode(byte);
        if (gaps.find(static_cast<char>(b)) != std::string::npos) {
            EXPECT_FALSE(cp) << b;
            continue;
        }
        ASSERT_TRUE(cp) << b;
        ++assigned;
        EXPECT_EQ(UnicodeToCp1252(*cp), byte) << b;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
    }
    EXPECT_EQ(assigned, 251);
}

TEST(Cp1252, KnownCharactersOfTheHighRange) {
    EXPECT_EQ(Win1252("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"),
              "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97"
              "\x98\x99\x9A\x9B\x9C\x9E\x9F");
    EXPECT_EQ(Win1252("Müller Straße"),
              "M\xFCller Stra\xDF"
              "e");
    EXPECT_EQ(Cp1252ToUtf8("\xC4\xD6\xDC\xE4\xF6\xFC\xDF"), "ÄÖÜäöüß");
}

TEST(Cp1252, RefusesWhatTheCodePageCannotHold) {
    EXPECT_FALSE(Utf8ToCp1252("Łódź"));
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x98\x80"));  // an emoji
    EXPECT_FALSE(UnicodeToCp1252(0x0081));           // C1 control behind a gap
    EXPECT_FALSE(Utf8ToCp1252("\xC3"));              // cut sequence
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF"));          // overlong
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80"));      // surrogate
    EXPECT_THROW(Win1252("日本"), std::logic_error);
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kivrel
