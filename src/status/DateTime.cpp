#include "DateTime.h"

#include "AppText.h"
#include "Error.h"

#include <cmath>
#include <limits>

namespace zelmo {
namespace {

bool IsLeapYear(std::int64_t y) noexcept {
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

constexpr int CumulativeDays[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

// Rounds to the nearest integer, halves to even; false when the result does not fit 64 bits.
bool RoundToInt64(double v, std::int64_t& out) noexcept {
    const double r = std::nearbyint(v);
    // 2^63 is exactly representable; anything at or beyond it does not fit (NaN fails both tests).
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) {
        return false;
    }
    out = static_cast<std::int64_t>(r);
    return true;
}

[[noreturn]] void RaiseInvalidDate() {
    throw EConvertError(std::wstring(ErrorTextOf(ErrorText::InvalidDateTime)));
}

// Whole milliseconds of x carried to the day-number scale: day * MsPerDay + millisecond of day.
std::int64_t ToDayScale(TDateTime x) {
    std::int64_t t = 0;
    if (!RoundToInt64(x * static_cast<double>(MsPerDay), t)) {
        RaiseInvalidDate();
    }
    const std::int64_t d = t / MsPerDay + DateDelta;
    const std::int64_t m = t < 0 ? -(t % MsPerDay) : t % MsPerDay;
    if (d < 1) {
        RaiseInvalidDate();
    }
    if (d > (std::numeric_limits<std::int64_t>::max() - m) / MsPerDay) {
        RaiseInvalidDate();
    }
    return d * MsPerDay + m;
}

} // namespace

TDateTime EncodeLocalDateTime(const DateTimeParts& p) noexcept {
    const std::int64_t y = p.Year - 1;
    const int month = p.Month < 1 ? 1 : (p.Month > 12 ? 12 : p.Month);
    const std::int64_t dayOfYear = CumulativeDays[IsLeapYear(p.Year) ? 1 : 0][month - 1] + p.Day;
    const std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - DateDelta;
    const double time =
        static_cast<double>(static_cast<std::int64_t>(p.Hour) * 3600000 + static_cast<std::int64_t>(p.Minute) * 60000 +
                            static_cast<std::int64_t>(p.Second) * 1000 + p.Millisecond) /
        static_cast<double>(MsPerDay);
    // Before 1899-12-30 the fraction still counts forwards from midnight, so it moves away from zero.
    return days < 0 ? static_cast<double>(days) - time : static_cast<double>(days) + time;
}

TDateTime AddMilliseconds(TDateTime x, std::int64_t n) {
    const std::int64_t m = ToDayScale(x);
    // A sum of zero or less, or one that leaves the 64-bit range, is no date.
    if (n > 0 ? m > std::numeric_limits<std::int64_t>::max() - n : false) {
        RaiseInvalidDate();
    }
    const std::int64_t shifted = m + n;
    if (shifted <= 0) {
        RaiseInvalidDate();
    }
    const auto unsignedShifted = static_cast<std::uint64_t>(shifted);
    const auto d = static_cast<std::int64_t>(unsignedShifted / MsPerDay);
    const auto ms = static_cast<std::int64_t>(unsignedShifted % MsPerDay);
    if (d < 1) {
        RaiseInvalidDate();
    }
    // Before 1899-12-30 the fraction still counts forwards from midnight.
    std::int64_t r = (d - DateDelta) * MsPerDay;
    r = r >= 0 ? r + ms : r - ms;
    return static_cast<double>(r) / static_cast<double>(MsPerDay);
}

DateTimeParts DecodeDateTime(TDateTime x) {
    const std::int64_t scaled = ToDayScale(x);
    const std::int64_t dayNumber = scaled / MsPerDay; // 1 = 0001-01-01
    std::int64_t ms = scaled % MsPerDay;

    // Civil date from a day count (days since 0000-03-01 based eras of 400 years).
    const std::int64_t z = dayNumber - 1 + 306; // days since 0000-03-01
    const std::int64_t era = z / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    if (year > std::numeric_limits<int>::max()) {
        RaiseInvalidDate();
    }

    DateTimeParts p;
    p.Year = static_cast<int>(year);
    p.Month = static_cast<int>(month);
    p.Day = static_cast<int>(day);
    p.Hour = static_cast<int>(ms / 3600000);
    ms %= 3600000;
    p.Minute = static_cast<int>(ms / 60000);
    ms %= 60000;
    p.Second = static_cast<int>(ms / 1000);
    p.Millisecond = static_cast<int>(ms % 1000);
    return p;
}

} // namespace zelmo
