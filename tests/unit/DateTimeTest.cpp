#include "status/DateTime.h"
#include "status/Error.h"

#include <gtest/gtest.h>

#include <limits>

namespace zelmo {
namespace {

TEST(EncodeLocalDateTime, KnownDays) {
    struct Case {
        DateTimeParts When;
        double Expected;
    };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},     {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
        {{1899, 12, 29, 0, 0, 0, 0}, -1.0},    {{2024, 10, 27, 18, 0, 0, 0}, 45592.75},
        {{2024, 2, 29, 12, 0, 0, 0}, 45351.5}, {{2100, 3, 1, 0, 0, 0, 0}, 73110.0}, // 2100 is no leap year
        {{1, 1, 1, 0, 0, 0, 0}, -693593.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeLocalDateTime(c.When), c.Expected) << c.When.Year << '-' << c.When.Month;
    }
}

TEST(DecodeDateTime, RoundTripsEveryMonthEndAndLeapDay) {
    for (int year : {1, 4, 100, 1600, 1899, 1900, 2000, 2024, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day : {1, 28}) {
                const DateTimeParts p{year, month, day, 13, 14, 15, 167};
                EXPECT_EQ(DecodeDateTime(EncodeLocalDateTime(p)), p) << year << '-' << month << '-' << day;
            }
        }
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        const DateTimeParts feb29{year, 2, 29, 0, 0, 0, 0};
        const DateTimeParts after = DecodeDateTime(EncodeLocalDateTime(feb29));
        EXPECT_EQ(after.Month, leap ? 2 : 3) << year;
    }
}

TEST(AddMilliseconds, ShiftsOnWholeMilliseconds) {
    struct Case {
        DateTimeParts From;
        std::int64_t Shift;
        DateTimeParts Expected;
    };
    const Case cases[] = {
        {{2024, 10, 27, 10, 0, 0, 250}, -3600250, {2024, 10, 27, 9, 0, 0, 0}},
        {{2024, 3, 1, 0, 0, 10, 0}, -20000, {2024, 2, 29, 23, 59, 50, 0}},
        {{1899, 12, 30, 0, 0, 0, 0}, -1, {1899, 12, 29, 23, 59, 59, 999}},
        {{1899, 12, 29, 6, 0, 0, 0}, 86400000, {1899, 12, 30, 6, 0, 0, 0}},
        {{1, 1, 1, 0, 0, 0, 1}, -1, {1, 1, 1, 0, 0, 0, 0}},
        {{2024, 1, 1, 0, 0, 0, 0}, 0, {2024, 1, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeDateTime(AddMilliseconds(EncodeLocalDateTime(c.From), c.Shift)), c.Expected) << c.Shift;
    }
}

TEST(AddMilliseconds, AfterTheEpochItIsOneSubtraction) {
    const double now = EncodeLocalDateTime({2024, 10, 27, 8, 5, 3, 500});
    const std::int64_t t = 45592LL * 86400000 + 29103500;
    EXPECT_EQ(AddMilliseconds(now, -273906789), static_cast<double>(t - 273906789) / 86400000.0);
}

TEST(AddMilliseconds, RefusesWhatIsNoDate) {
    const double firstDay = EncodeLocalDateTime({1, 1, 1, 0, 0, 0, 0});
    EXPECT_THROW(AddMilliseconds(firstDay, -1), EConvertError);
    EXPECT_THROW(AddMilliseconds(firstDay - 1, 0), EConvertError);
    EXPECT_THROW(AddMilliseconds(0, std::numeric_limits<std::int64_t>::min()), EConvertError);
    EXPECT_THROW(AddMilliseconds(0, std::numeric_limits<std::int64_t>::max()), EConvertError);
    EXPECT_THROW(AddMilliseconds(std::numeric_limits<double>::quiet_NaN(), 0), EConvertError);
    EXPECT_THROW(AddMilliseconds(1e300, 0), EConvertError);
    EXPECT_NO_THROW(AddMilliseconds(firstDay, 0));
}

} // namespace
} // namespace zelmo
