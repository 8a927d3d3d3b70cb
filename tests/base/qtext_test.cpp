#include "base/qtext.h"

#include <gtest/gtest.h>

namespace kivrel {
namespace {

TEST(QtText, EveryAssignedByteCrossesTheBoundaryBothWays) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(FromQt(ToQt(one)), one) << b;
    }
    EXPECT_EQ(ToQt("M\xFCller \x80"), QStringLiteral("Müller €"));
}

}  // namespace
}  // namespace kivrel
