#pragma once
// TDateTime: days since 1899-12-30 00:00 as a double; the fraction is the time of day (for dates
// before 1899-12-30 too: the integer part counts days backwards, the fraction still runs forwards).
#include <cstdint>

namespace zelmo {

using TDateTime = double;

struct DateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
    friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

constexpr std::int64_t MsPerDay = 86400000;
// Day number of 1899-12-30 on the scale where 0001-01-01 is day 1.
constexpr std::int64_t DateDelta = 693594;

// Builds a TDateTime from calendar fields (proleptic Gregorian), day part plus time part.
TDateTime EncodeLocalDateTime(const DateTimeParts& parts) noexcept;

// x shifted by n milliseconds on whole milliseconds; throws EConvertError for results before
// 0001-01-01 or values outside the 64-bit millisecond range.
TDateTime AddMilliseconds(TDateTime x, std::int64_t n);

// Calendar fields of x, rounded to the nearest millisecond (halves to even); throws EConvertError
// for values that are not a date on or after 0001-01-01.
DateTimeParts DecodeDateTime(TDateTime x);

} // namespace zelmo
