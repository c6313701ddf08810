#include "status/Format.h"
#include "status/Error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelmo {
namespace {

const LocaleSeparators Default{};

TEST(FormatNumber, GigabytesRoundOnTheExactDoubleHalvesAwayFromZero) {
    struct Case {
        double Value;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {0.0, L"0.00GB"},
        {-0.0, L"0.00GB"},
        {0.004, L"0.00GB"},
        {-0.004, L"0.00GB"},
        {-1.0 / 1073741824.0, L"0.00GB"},
        {0.005, L"0.01GB"}, // the double lies just above the half
        {0.125, L"0.13GB"},
        {0.375, L"0.38GB"},
        {-0.125, L"-0.13GB"},
        {1.005, L"1.00GB"}, // the double lies just below the half
        {0.5, L"0.50GB"},
        {123.456, L"123.46GB"},
        {99.999, L"100.00GB"},
        {1234.5, L"1234.50GB"},
        {134217728 / 1073741824.0, L"0.13GB"},
        {536870912 / 1073741824.0, L"0.50GB"},
        {1000202039296 / 1073741824.0, L"931.51GB"},
        {2000398934016 / 1073741824.0, L"1863.02GB"},
        {9007199254740993.0, L"9007199254740992.00GB"}, // beyond 2^53: integers, written in full
        {std::ldexp(1.0, 70), L"1180591620717411303424.00GB"},
        {std::numeric_limits<double>::denorm_min(), L"0.00GB"},
        {-std::numeric_limits<double>::denorm_min(), L"0.00GB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatNumber(c.Value, PatternGigabytes, Default), c.Expected) << c.Value;
    }
}

TEST(FormatNumber, LargestDoubleHasAllItsDigits) {
    const std::wstring text = FormatNumber(std::numeric_limits<double>::max(), PatternGigabytes, Default);
    EXPECT_EQ(text.size(), 309u + 5u);
    EXPECT_EQ(text.substr(0, 6), L"179769");
    EXPECT_EQ(text.substr(text.size() - 5), L".00GB");
}

TEST(FormatNumber, TwoDigitPatternsKeepTheirColon) {
    struct Case {
        double Value;
        const NumberPattern* Pattern;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {0, &PatternTwoDigitsColon, L"00:"},  {5, &PatternTwoDigitsColon, L"05:"},
        {23, &PatternTwoDigitsColon, L"23:"}, {123, &PatternTwoDigitsColon, L"123:"},
        {7, &PatternTwoDigits, L"07"},        {59, &PatternTwoDigits, L"59"},
        {0.5, &PatternTwoDigits, L"01"},      {-0.4, &PatternTwoDigits, L"00"},
        {-7, &PatternTwoDigits, L"-07"},      {2.5, &PatternTwoDigits, L"03"},
    };
    const LocaleSeparators odd{L',', L'-', L'.'};
    for (const Case& c : cases) {
        EXPECT_EQ(FormatNumber(c.Value, *c.Pattern, odd), c.Expected) << c.Value;
    }
}

TEST(FormatNumber, DecimalSeparatorFromTheLocale) {
    const LocaleSeparators comma{L',', L'/', L':'};
    EXPECT_EQ(FormatNumber(0.5, PatternGigabytes, comma), L"0,50GB");
    EXPECT_EQ(FormatNumber(1234.5, PatternGigabytes, comma), L"1234,50GB");
}

TEST(FormatNumber, NonFiniteValuesDoNotCrash) {
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), PatternGigabytes, Default), L"NAN");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), PatternGigabytes, Default), L"INF");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), PatternTwoDigits, Default), L"-INF");
}

TEST(FormatCount, PlainDecimal) {
    EXPECT_EQ(FormatCount(0), L"0");
    EXPECT_EQ(FormatCount(100), L"100");
    EXPECT_EQ(FormatCount(6789), L"6789");
    EXPECT_EQ(FormatCount(18446744073709551615ull), L"18446744073709551615");
}

TEST(FormatTimestamp, SeparatorsAndRounding) {
    struct Case {
        DateTimeParts When;
        LocaleSeparators Seps;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {{2024, 10, 27, 8, 5, 3, 999}, {L'.', L'/', L':'}, L"2024/10/27 08:05:03"},
        {{2024, 10, 27, 8, 5, 3, 999}, {L'.', L'.', L':'}, L"2024.10.27 08:05:03"},
        {{2024, 10, 27, 8, 5, 3, 999}, {L'.', L'-', L'.'}, L"2024-10-27 08.05.03"},
        {{1, 1, 1, 0, 0, 0, 0}, {}, L"0001/01/01 00:00:00"},
        {{1899, 12, 29, 6, 0, 0, 0}, {}, L"1899/12/29 06:00:00"},
        {{2000, 2, 29, 23, 59, 59, 0}, {}, L"2000/02/29 23:59:59"},
        {{9999, 12, 31, 23, 59, 59, 999}, {}, L"9999/12/31 23:59:59"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatTimestamp(EncodeLocalDateTime(c.When), PatternStartTime, c.Seps), c.Expected);
    }
}

TEST(FormatTimestamp, HalfMillisecondBeforeMidnightRollsOver) {
    // 23:59:59.9996 rounds to the next whole millisecond: midnight of the next day.
    const double value = EncodeLocalDateTime({2024, 10, 27, 0, 0, 0, 0}) + 86399999.6 / 86400000.0;
    EXPECT_EQ(FormatTimestamp(value, PatternStartTime, Default), L"2024/10/28 00:00:00");
}

TEST(FormatTimestamp, UnrepresentableDatesAreRefused) {
    const double refused[] = {-693594.0, -1e12, 1e300, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()};
    for (double v : refused) {
        EXPECT_THROW(FormatTimestamp(v, PatternStartTime, Default), EConvertError) << v;
    }
}

} // namespace
} // namespace zelmo
