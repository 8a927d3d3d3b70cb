#include "base/daynumber.h"

#include <gtest/gtest.h>

namespace kivrel {
namespace {

TEST(DayNumber, KnownDaysBothWays) {
    EXPECT_EQ(DayNumberFromDate(2025, 3, 15), 45731.0);
    EXPECT_EQ(DayNumberFromDate(1899, 12, 31), 1.0);
    EXPECT_EQ(DayNumberFromDate(1900, 3, 1), 61.0);
    EXPECT_EQ(DayNumberFromDate(1899, 12, 29), -1.0);
    EXPECT_EQ(DateFromDayNumber(45731.0), (CalendarDate{2025, 3, 15}));
    EXPECT_EQ(DateFromDayNumber(45731.75), (CalendarDate{2025, 3, 15}));
    EXPECT_EQ(FormatDate(46095), "14.03.2026");
    EXPECT_EQ(FormatDate(*DayNumberFromDate(2026, 3, 7)), "07.03.2026");
    EXPECT_EQ(ParseDate("29.02.2024"), DayNumberFromDate(2024, 2, 29));
}

TEST(DayNumber, EveryDayOfFourCenturiesRoundTrips) {
    for (double n = -1000; n < 146097 + 1000; ++n) {
        if (n == 0)
            continue;
        const auto date = DateFromDayNumber(n);
        ASSERT_TRUE(date) << n;
        ASSERT_EQ(DayNumberFromDate(date->year, date->month, date->day), n);
        ASSERT_EQ(ParseDate(FormatDate(n)), n);
    }
}

TEST(DayNumber, WhatIsNoDate) {
    EXPECT_FALSE(DayNumberFromDate(2025, 2, 31));
    EXPECT_FALSE(DayNumberFromDate(2023, 2, 29));
    EXPECT_FALSE(DayNumberFromDate(1900, 2, 29));
    EXPECT_FALSE(DayNumberFromDate(2025, 13, 1));
    EXPECT_FALSE(DayNumberFromDate(1899, 12, 30));  // day 0 stands for no date
    EXPECT_FALSE(DateFromDayNumber(0));
    EXPECT_FALSE(DateFromDayNumber(1e300));
    EXPECT_FALSE(DateFromDayNumber(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(FormatDate(0), "");
    for (const char* text : {"31.02.2025", "", "1.3.2025", "01.03.25", "01-03-2025", "  .  .    ",
                             "01.03.2025 ", "aa.bb.cccc", "00.01.2025"}) {
        EXPECT_FALSE(ParseDate(text)) << text;
    }
}

}  // namespace
}  // namespace kivrel
