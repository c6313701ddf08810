#include "Format.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelmo {
namespace {

constexpr std::uint64_t PowersOfTen[] = {1, 10, 100, 1000};

// Decimal digits (most significant first) of a magnitude, written into a caller's stack buffer.
// 2^1024 * 1000 has 312 digits, so 320 places hold every finite double at three decimals.
struct DigitBuffer {
    std::array<unsigned char, 320> Digits; // written before read: no zero-fill on every call
    int Length = 0;
};

void DigitsOfUInt64(std::uint64_t v, DigitBuffer& out) noexcept {
    unsigned char reversed[20];
    int n = 0;
    do {
        reversed[n++] = static_cast<unsigned char>(v % 10);
        v /= 10;
    } while (v != 0);
    out.Length = n;
    for (int i = 0; i < n; ++i) {
        out.Digits[static_cast<std::size_t>(i)] = reversed[n - 1 - i];
    }
}

// |value| * 10^fractionDigits rounded on the exact binary value, halves away from zero.
void RoundedScaledMagnitude(double value, int fractionDigits, DigitBuffer& out) noexcept {
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    // value = mantissa * 2^shift exactly, mantissa below 2^53.
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = exponent - 53;
    const std::uint64_t scaled = mantissa * PowersOfTen[fractionDigits]; // below 2^63

    if (shift < 0) {
        const int k = -shift;
        std::uint64_t q = 0;
        if (k < 64) {
            q = scaled >> k;
            const std::uint64_t remainder = scaled & ((std::uint64_t{1} << k) - 1);
            if (remainder >= (std::uint64_t{1} << (k - 1))) {
                ++q;
            }
        } // else: scaled < 2^63 <= 2^(k-1), below the half: rounds to zero
        DigitsOfUInt64(q, out);
        return;
    }

    // An integer value of 2^53 or more: scaled * 2^shift exactly, doubling a little-endian digit array.
    DigitBuffer little;
    DigitsOfUInt64(scaled, little);
    std::reverse(little.Digits.begin(), little.Digits.begin() + little.Length);
    for (int s = 0; s < shift; ++s) {
        int carry = 0;
        for (int i = 0; i < little.Length; ++i) {
            const int d = little.Digits[static_cast<std::size_t>(i)] * 2 + carry;
            little.Digits[static_cast<std::size_t>(i)] = static_cast<unsigned char>(d % 10);
            carry = d / 10;
        }
        if (carry != 0) {
            little.Digits[static_cast<std::size_t>(little.Length++)] = static_cast<unsigned char>(carry);
        }
    }
    out.Length = little.Length;
    for (int i = 0; i < little.Length; ++i) {
        out.Digits[static_cast<std::size_t>(i)] = little.Digits[static_cast<std::size_t>(little.Length - 1 - i)];
    }
}

void AppendPadded(std::wstring& out, std::int64_t value, int width) {
    wchar_t reversed[24];
    int n = 0;
    auto v = static_cast<std::uint64_t>(value < 0 ? -value : value);
    do {
        reversed[n++] = static_cast<wchar_t>(L'0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) {
        out.push_back(L'-');
    }
    for (int i = n; i < width; ++i) {
        out.push_back(L'0');
    }
    while (n > 0) {
        out.push_back(reversed[--n]);
    }
}

bool StartsWith(std::wstring_view text, std::size_t at, std::wstring_view prefix) noexcept {
    return text.size() - at >= prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

} // namespace

void AppendNumber(std::wstring& out, double value, const NumberPattern& pattern, const LocaleSeparators& seps) {
    if (std::isnan(value)) {
        out += L"NAN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? L"-INF" : L"INF";
        return;
    }
    const int fractionDigits =
        pattern.FractionDigits < 0 ? 0 : (pattern.FractionDigits > 3 ? 3 : pattern.FractionDigits);
    DigitBuffer digits;
    RoundedScaledMagnitude(value, fractionDigits, digits);

    const bool isZero = digits.Length == 1 && digits.Digits[0] == 0;
    if (value < 0 && !isZero) {
        out.push_back(L'-');
    }
    // Integer part: the digits before the last fractionDigits, padded to the pattern's digit places.
    const int integerLength = digits.Length > fractionDigits ? digits.Length - fractionDigits : 0;
    for (int i = (integerLength > 0 ? integerLength : 1); i < pattern.IntegerDigits; ++i) {
        out.push_back(L'0');
    }
    if (integerLength == 0) {
        out.push_back(L'0');
    }
    for (int i = 0; i < integerLength; ++i) {
        out.push_back(static_cast<wchar_t>(L'0' + digits.Digits[static_cast<std::size_t>(i)]));
    }
    if (fractionDigits > 0) {
        out.push_back(seps.Decimal);
        for (int i = digits.Length - fractionDigits; i < digits.Length; ++i) {
            out.push_back(i < 0 ? L'0' : static_cast<wchar_t>(L'0' + digits.Digits[static_cast<std::size_t>(i)]));
        }
    }
    out.append(pattern.Suffix);
}

std::wstring FormatNumber(double value, const NumberPattern& pattern, const LocaleSeparators& seps) {
    std::wstring out;
    AppendNumber(out, value, pattern, seps);
    return out;
}

void AppendCount(std::wstring& out, std::uint64_t value) {
    DigitBuffer digits;
    DigitsOfUInt64(value, digits);
    for (int i = 0; i < digits.Length; ++i) {
        out.push_back(static_cast<wchar_t>(L'0' + digits.Digits[static_cast<std::size_t>(i)]));
    }
}

std::wstring FormatCount(std::uint64_t value) {
    std::wstring out;
    AppendCount(out, value);
    return out;
}

void AppendTimestamp(std::wstring& out, TDateTime value, std::wstring_view pattern, const LocaleSeparators& seps) {
    const DateTimeParts p = DecodeDateTime(value);
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (StartsWith(pattern, i, L"yyyy")) {
            AppendPadded(out, p.Year, 4);
            i += 4;
            continue;
        }
        const wchar_t c = pattern[i];
        if (c != L'm' && c != L'd' && c != L'h' && c != L'n' && c != L's') {
            ++i;
            out.push_back(c == L'/' ? seps.Date : (c == L':' ? seps.Time : c));
            continue;
        }
        const struct {
            std::wstring_view Token;
            int Value;
        } twoDigitFields[] = {{L"mm", p.Month}, {L"dd", p.Day}, {L"hh", p.Hour}, {L"nn", p.Minute}, {L"ss", p.Second}};
        bool matched = false;
        for (const auto& field : twoDigitFields) {
            if (StartsWith(pattern, i, field.Token)) {
                AppendPadded(out, field.Value, 2);
                i += 2;
                matched = true;
                break;
            }
        }
        if (!matched) {
            out.push_back(pattern[i++]);
        }
    }
}

std::wstring FormatTimestamp(TDateTime value, std::wstring_view pattern, const LocaleSeparators& seps) {
    std::wstring out;
    AppendTimestamp(out, value, pattern, seps);
    return out;
}

} // namespace zelmo
