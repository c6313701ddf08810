#pragma once
// Number, count and date-time renderings of the status line.
#include "DateTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmo {

struct LocaleSeparators {
    wchar_t Decimal = L'.';
    wchar_t Date = L'/';
    wchar_t Time = L':';
};

// A number pattern such as "0.00GB": digit places before the point, digits after it, literal tail.
struct NumberPattern {
    int IntegerDigits;
    int FractionDigits;
    std::wstring_view Suffix;
};

inline constexpr NumberPattern PatternGigabytes{1, 2, L"GB"};     // "0.00GB"
inline constexpr NumberPattern PatternTwoDigitsColon{2, 0, L":"}; // "00:"
inline constexpr NumberPattern PatternTwoDigits{2, 0, L""};       // "00"
inline constexpr std::wstring_view PatternStartTime = L"yyyy/mm/dd hh:nn:ss";

// Appends value rounded on its exact binary value, halves away from zero, no sign on a zero result.
// NaN and infinities render as "NAN", "INF" and "-INF" (the status line never passes them).
void AppendNumber(std::wstring& out, double value, const NumberPattern& pattern, const LocaleSeparators& seps);
std::wstring FormatNumber(double value, const NumberPattern& pattern, const LocaleSeparators& seps);

void AppendCount(std::wstring& out, std::uint64_t value);
std::wstring FormatCount(std::uint64_t value);

// Renders "yyyy", "mm", "dd", "hh", "nn", "ss", "/" and ":" of the pattern; other characters are copied.
// Throws EConvertError when value is no representable date.
void AppendTimestamp(std::wstring& out, TDateTime value, std::wstring_view pattern, const LocaleSeparators& seps);
std::wstring FormatTimestamp(TDateTime value, std::wstring_view pattern, const LocaleSeparators& seps);

} // namespace zelmo
