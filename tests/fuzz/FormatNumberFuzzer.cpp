// Fuzzes FormatNumber with every double (NaN, infinities, subnormals, the largest values) and the
// status line's patterns. Checks the shape of every text, and that the number it shows is the exact
// value rounded to the pattern's decimals with halves away from zero:
//  - below 2^53 by exact arithmetic in long double: |v| * 10^decimals needs at most 53 + 7 bits, and the
//    shown number's bracket 2N - 1 <= 2|v|10^d < 2N + 1 holds integers below 2^64, all exact in its
//    64-bit mantissa;
//  - from 2^53 on every double is an integer, and glibc's printf writes its exact decimal value.
#include "FuzzInput.h"

#include "status/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>

using zelmo::fuzz::Require;

static_assert(std::numeric_limits<long double>::digits >= 64, "the exact check needs an x87 long double");

namespace {

constexpr wchar_t Separators[] = {L'.', L',', L'\u066B', L'\u00B7'};

std::string Describe(double v, const zelmo::NumberPattern& p) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "value %a (%.17g), pattern %d.%d", v, v, p.IntegerDigits, p.FractionDigits);
    return buffer;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

void Check(double v, const zelmo::NumberPattern& pattern, wchar_t separator) {
    const zelmo::LocaleSeparators seps{separator, L'/', L':'};
    const std::wstring text = zelmo::FormatNumber(v, pattern, seps);
    const std::string what = Describe(v, pattern);

    if (std::isnan(v) || std::isinf(v)) {
        const std::wstring_view expected = std::isnan(v) ? L"NAN" : (v < 0 ? L"-INF" : L"INF");
        Require(text == expected, "NaN and infinities render as NAN, INF, -INF", text, what);
        return;
    }

    // Shape: [-]digits[<separator>digits]suffix, the integer part zero-padded to the digit places only.
    std::size_t i = 0;
    const bool minus = !text.empty() && text[0] == L'-';
    i += minus ? 1 : 0;
    const std::size_t intStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::wstring intDigits = text.substr(intStart, i - intStart);
    const auto places = static_cast<std::size_t>(pattern.IntegerDigits);
    Require(intDigits.size() >= std::max<std::size_t>(places, 1), "at least the pattern's digit places", text, what);
    Require(intDigits.size() == places || intDigits[0] != L'0', "no zeros beyond the padding", text, what);
    std::wstring fracDigits;
    if (pattern.FractionDigits > 0) {
        Require(i < text.size() && text[i] == separator, "the locale's decimal separator follows", text, what);
        fracDigits = text.substr(i + 1, static_cast<std::size_t>(pattern.FractionDigits));
        Require(fracDigits.size() == static_cast<std::size_t>(pattern.FractionDigits) &&
                    std::all_of(fracDigits.begin(), fracDigits.end(), IsDigit),
                "exactly the pattern's decimals", text, what);
        i += 1 + fracDigits.size();
    }
    Require(std::wstring_view(text).substr(i) == pattern.Suffix, "the literal suffix ends the text", text, what);

    const std::wstring allDigits = intDigits + fracDigits;
    const bool shownZero = allDigits.find_first_not_of(L'0') == std::wstring::npos;
    Require(minus == (v < 0 && !shownZero), "a minus sign exactly on negative values not shown as zero", text, what);

    const double magnitude = std::fabs(v);
    if (magnitude < 0x1p53) {
        std::uint64_t n = 0; // at most 16 integer digits and 3 decimals: below 2^63
        for (const wchar_t c : allDigits) {
            n = n * 10 + static_cast<std::uint64_t>(c - L'0');
        }
        long double twiceScaled = 2.0L * static_cast<long double>(magnitude);
        for (int d = 0; d < pattern.FractionDigits; ++d) {
            twiceScaled *= 10.0L;
        }
        const long double twiceShown = static_cast<long double>(2 * n);
        Require(twiceShown - 1.0L <= twiceScaled && twiceScaled < twiceShown + 1.0L,
                "the shown number is the exact value rounded, halves away from zero", text, what);
    } else {
        char exact[400];
        std::snprintf(exact, sizeof exact, "%.0f", magnitude);
        Require(intDigits == std::wstring(exact, exact + std::strlen(exact)) &&
                    fracDigits.find_first_not_of(L'0') == std::wstring::npos,
                "integers from 2^53 on are written exactly", text, what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelmo::fuzz::InputReader in(data, size);
    const std::uint8_t mode = in.Byte();
    const std::uint8_t choice = in.Byte();

    double v = 0;
    switch (mode & 3) {
    case 1: // small dyadic fractions: the exact halves of the patterns' last places lie among them
        v = static_cast<double>(in.Bits<std::int32_t>()) / static_cast<double>(1u << (in.Byte() % 16));
        break;
    case 2: // a 53-bit mantissa at any scale
        v = std::ldexp(static_cast<double>(in.Bits<std::int64_t>() >> 11), static_cast<int>(in.Byte()) - 180);
        break;
    default: // any double, bit for bit
        v = in.Bits<double>();
        break;
    }

    const zelmo::NumberPattern custom{1 + (choice >> 4) % 4, (choice >> 2) % 4, L"x"};
    const zelmo::NumberPattern* const patterns[] = {&zelmo::PatternGigabytes, &zelmo::PatternTwoDigitsColon,
                                                    &zelmo::PatternTwoDigits, &custom};
    Check(v, *patterns[choice % 4], Separators[(mode >> 4) % 4]);
    return 0;
}
