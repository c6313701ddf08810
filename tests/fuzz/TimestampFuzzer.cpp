// Fuzzes AddMilliseconds and FormatTimestamp with any TDateTime and any shift. Every call either gives a
// result or raises EConvertError; a produced timestamp is a valid calendar date and time of day. For
// ordinary dates (years 100 to 9099, shifts up to about 31 years) the shift must succeed, moves the time
// of day by n modulo a day and the date by the whole days carried over; on 0001-01-01 a shift succeeds exactly when it
// does not reach back before midnight.
#include "FuzzInput.h"

#include "status/Error.h"
#include "status/Format.h"

#include <cmath>
#include <optional>

using zelmo::fuzz::Require;

namespace {

constexpr wchar_t DateSeparators[] = {L'/', L'-', L'.', L'\u5E74'};
constexpr wchar_t TimeSeparators[] = {L':', L'.', L'h', L'\u6642'};

bool IsLeap(std::int64_t y) {
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

int DaysInMonth(std::int64_t y, int m) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

std::string Describe(double x, std::int64_t n) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "x %a (%.17g), n %lld", x, x, static_cast<long long>(n));
    return buffer;
}

// The timestamp of PatternStartTime: year of 4 or more digits, then "/mm/dd hh:nn:ss" with the separators.
void CheckTimestamp(const std::wstring& t, const zelmo::LocaleSeparators& seps, const std::string& what) {
    constexpr std::size_t TailLength = 15; // "/mm/dd hh:nn:ss"
    Require(t.size() >= 4 + TailLength, "a timestamp has a year of at least four digits", t, what);
    const std::size_t yearLength = t.size() - TailLength;
    auto number = [&](std::size_t at, std::size_t length) {
        std::int64_t v = 0;
        for (std::size_t k = at; k < at + length; ++k) {
            Require(t[k] >= L'0' && t[k] <= L'9', "digits where the pattern has fields", t, what);
            v = v * 10 + (t[k] - L'0');
        }
        return v;
    };
    Require(yearLength <= 18, "a year of at most 18 digits", t, what);
    const std::int64_t year = number(0, yearLength);
    Require(yearLength == 4 || t[0] != L'0', "the year padded to four digits only", t, what);
    const wchar_t* tail = t.c_str() + yearLength;
    Require(tail[0] == seps.Date && tail[3] == seps.Date && tail[6] == L' ' && tail[9] == seps.Time &&
                tail[12] == seps.Time,
            "the locale's separators sit between the fields", t, what);
    const auto month = static_cast<int>(number(yearLength + 1, 2));
    const auto day = static_cast<int>(number(yearLength + 4, 2));
    Require(year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month),
            "a valid date on or after 0001-01-01", t, what);
    Require(number(yearLength + 7, 2) < 24 && number(yearLength + 10, 2) < 60 && number(yearLength + 13, 2) < 60,
            "a valid time of day", t, what);
}

std::optional<std::wstring> TryFormat(double x, const zelmo::LocaleSeparators& seps, const std::string& what) {
    try {
        std::wstring t = zelmo::FormatTimestamp(x, zelmo::PatternStartTime, seps);
        CheckTimestamp(t, seps, what);
        return t;
    } catch (const zelmo::EConvertError&) {
        return std::nullopt;
    }
}

std::optional<double> TryAdd(double x, std::int64_t n) {
    try {
        return zelmo::AddMilliseconds(x, n);
    } catch (const zelmo::EConvertError&) {
        return std::nullopt;
    }
}

std::int64_t MsOfDay(const zelmo::DateTimeParts& p) {
    return ((p.Hour * 60LL + p.Minute) * 60 + p.Second) * 1000 + p.Millisecond;
}

double DateOnly(zelmo::DateTimeParts p) {
    p.Hour = p.Minute = p.Second = p.Millisecond = 0;
    return zelmo::EncodeLocalDateTime(p);
}

// An ordinary date and a shift of at most 10^12 ms (about 31.7 years): everything must work exactly.
void CheckOrdinary(const zelmo::DateTimeParts& start, std::int64_t n, const zelmo::LocaleSeparators& seps) {
    const double x = zelmo::EncodeLocalDateTime(start);
    const std::string what = Describe(x, n);
    Require(zelmo::DecodeDateTime(x) == start, "an encoded date decodes to its fields", L"", what);
    Require(TryFormat(x, seps, what).has_value(), "an ordinary date formats", L"", what);

    const std::optional<double> shifted = TryAdd(x, n);
    Require(shifted.has_value(), "an ordinary shift of an ordinary date succeeds", L"", what);
    const zelmo::DateTimeParts end = zelmo::DecodeDateTime(*shifted);
    Require(TryFormat(*shifted, seps, what).has_value(), "the shifted date formats", L"", what);

    const std::int64_t total = MsOfDay(start) + n;
    const std::int64_t carriedDays =
        total >= 0 ? total / zelmo::MsPerDay : -((-total + zelmo::MsPerDay - 1) / zelmo::MsPerDay);
    Require(MsOfDay(end) == total - carriedDays * zelmo::MsPerDay, "the time of day moves by n modulo a day", L"",
            what);
    Require(DateOnly(end) - DateOnly(start) == static_cast<double>(carriedDays),
            "the date moves by the whole days carried over", L"", what);
}

// Any value and any shift: a result or EConvertError; a result is no earlier than 0001-01-01 and, unless it
// lies at the very end of the millisecond range, formats as a valid timestamp.
void CheckAny(double x, std::int64_t n, const zelmo::LocaleSeparators& seps) {
    const std::string what = Describe(x, n);
    TryFormat(x, seps, what);
    const std::optional<double> shifted = TryAdd(x, n);
    if (!shifted) {
        return;
    }
    Require(std::isfinite(*shifted) && *shifted > -693594.0, "a shifted value is a date on or after 0001-01-01", L"",
            what);
    if (*shifted < 1e11) {
        Require(TryFormat(*shifted, seps, what).has_value(), "a shifted value formats", L"", what);
    }
}

// The lower end: from a time on 0001-01-01, a shift to its midnight plus delta milliseconds (delta: up to
// three days back and half a minute either way) succeeds exactly when delta is not negative, and then lands
// on that millisecond.
void CheckFirstDay(const zelmo::DateTimeParts& start, std::int64_t delta, const zelmo::LocaleSeparators& seps) {
    const double x = zelmo::EncodeLocalDateTime(start);
    const std::int64_t n = delta - MsOfDay(start);
    const std::string what = Describe(x, n);
    const std::optional<double> shifted = TryAdd(x, n);
    Require(shifted.has_value() == (delta >= 0), "a shift succeeds exactly when it stays on or after 0001-01-01", L"",
            what);
    if (shifted) {
        const zelmo::DateTimeParts expected{
            1, 1, 1, 0, 0, static_cast<int>(delta / 1000), static_cast<int>(delta % 1000)};
        Require(zelmo::DecodeDateTime(*shifted) == expected, "the shift lands on the millisecond", L"", what);
        Require(TryFormat(*shifted, seps, what).has_value(), "the first day formats", L"", what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelmo::fuzz::InputReader in(data, size);
    const std::uint8_t mode = in.Byte();
    const zelmo::LocaleSeparators seps{L'.', DateSeparators[(mode >> 3) % 4], TimeSeparators[(mode >> 5) % 4]};

    switch (mode & 7) {
    case 2:
    case 3: {
        zelmo::DateTimeParts p;
        p.Year = 100 + in.Bits<std::uint16_t>() % 9000;
        p.Month = 1 + in.Byte() % 12;
        p.Day = 1 + in.Byte() % DaysInMonth(p.Year, p.Month);
        p.Hour = in.Byte() % 24;
        p.Minute = in.Byte() % 60;
        p.Second = in.Byte() % 60;
        p.Millisecond = in.Bits<std::uint16_t>() % 1000;
        // Whole days (up to about 31 years) plus any part of a day, or any shift in range.
        const std::int64_t n = (mode & 1) ? std::int64_t{in.Bits<std::int16_t>() % 11574} * zelmo::MsPerDay +
                                                in.Bits<std::int32_t>() % zelmo::MsPerDay
                                          : in.Bits<std::int64_t>() % 1000000000001LL;
        CheckOrdinary(p, n, seps);
        break;
    }
    case 4: {
        zelmo::DateTimeParts p{
            1, 1, 1, in.Byte() % 24, in.Byte() % 60, in.Byte() % 60, in.Bits<std::uint16_t>() % 1000};
        const std::int64_t daysBack = in.Byte() % 4;
        CheckFirstDay(p, in.Bits<std::int16_t>() - daysBack * zelmo::MsPerDay, seps);
        break;
    }
    default: {
        const double x = (mode & 7) == 1 ? static_cast<double>(in.Bits<std::int32_t>()) / 64.0 : in.Bits<double>();
        CheckAny(x, in.Bits<std::int64_t>(), seps);
        break;
    }
    }
    return 0;
}
