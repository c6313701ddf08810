// Fuzzes the conversion of stored setting values (ParseInt32, ParseSettingBool) on arbitrary UTF-16 text.
// Besides "no crash" it checks the results against simple oracles that are right on their own terms:
// the characters a number can contain at all, plain decimal and hexadecimal forms short enough for
// 64-bit arithmetic, and the round trip of every 32-bit value through its decimal and "$" spelling.
#include "FuzzInput.h"

#include "status/Settings.h"

#include <cinttypes>
#include <optional>

using zelmo::fuzz::Fail;
using zelmo::fuzz::Require;

namespace {

constexpr std::wstring_view NumberCharacters = L" +-$xX0123456789abcdefABCDEF";

std::string Shown(std::optional<std::int32_t> v) {
    return v ? std::to_string(*v) : std::string("no value");
}

int DigitValue(wchar_t c, int base) {
    int d = -1;
    if (c >= L'0' && c <= L'9') {
        d = c - L'0';
    } else if (c >= L'a' && c <= L'f') {
        d = c - L'a' + 10;
    } else if (c >= L'A' && c <= L'F') {
        d = c - L'A' + 10;
    }
    return d < base ? d : -1;
}

// The value of " *[+-]?(prefix)digits" when the text has exactly that form with at most 15 significant
// digits (so int64 holds it with room to spare); no value for any other text.
struct PlainForm {
    bool Matches = false;
    bool Negative = false;
    bool Hex = false;
    std::int64_t Magnitude = 0;
};

PlainForm ReadPlainForm(std::wstring_view t) {
    PlainForm form;
    std::size_t i = t.find_first_not_of(L' ');
    if (i == std::wstring_view::npos) {
        return form;
    }
    if (t[i] == L'+' || t[i] == L'-') {
        form.Negative = t[i++] == L'-';
    }
    if (t.substr(i, 1) == L"$" || t.substr(i, 1) == L"x" || t.substr(i, 1) == L"X") {
        form.Hex = true;
        i += 1;
    } else if (t.substr(i, 2) == L"0x" || t.substr(i, 2) == L"0X") {
        form.Hex = true;
        i += 2;
    }
    const int base = form.Hex ? 16 : 10;
    if (i == t.size()) {
        return form;
    }
    int significant = 0;
    for (; i < t.size(); ++i) {
        const int d = DigitValue(t[i], base);
        if (d < 0) {
            return form;
        }
        if (form.Magnitude != 0 || d != 0) {
            if (++significant > 15) {
                return form;
            }
        }
        form.Magnitude = form.Magnitude * base + d;
    }
    form.Matches = true;
    return form;
}

void CheckText(std::wstring_view text) {
    const std::optional<std::int32_t> parsed = zelmo::ParseInt32(text);
    const bool onIfTrue = zelmo::ParseSettingBool(text, true);
    const bool onIfFalse = zelmo::ParseSettingBool(text, false);

    if (text.find_first_not_of(NumberCharacters) != std::wstring_view::npos || text.empty()) {
        Require(!parsed, "a text with a character no number has is no number", text, Shown(parsed));
    }

    const PlainForm form = ReadPlainForm(text);
    if (form.Matches && !form.Hex) {
        const std::int64_t v = form.Negative ? -form.Magnitude : form.Magnitude;
        const bool fits = v >= INT32_MIN && v <= INT32_MAX;
        Require(fits ? parsed == std::optional<std::int32_t>(static_cast<std::int32_t>(v)) : !parsed,
                "a decimal text parses to its value, or to nothing outside the 32-bit range", text,
                "expected " + (fits ? std::to_string(v) : std::string("no value")) + ", got " + Shown(parsed));
    }
    // Hexadecimal texts spell 32-bit patterns; a sign is only unambiguous below 2^31.
    if (form.Matches && form.Hex && (!form.Negative || form.Magnitude <= INT32_MAX)) {
        const bool fits = form.Magnitude <= 0xFFFFFFFF;
        const auto bits = static_cast<std::uint32_t>(form.Magnitude);
        const auto v = static_cast<std::int32_t>(form.Negative ? 0u - bits : bits);
        Require(fits ? parsed == std::optional<std::int32_t>(v) : !parsed,
                "a hexadecimal text parses to its 32-bit pattern, or to nothing beyond 8 digits", text,
                "expected " + (fits ? std::to_string(v) : std::string("no value")) + ", got " + Shown(parsed));
    }

    // The Boolean: "0x…" (longer than two characters) reads as "$…"; a number is on unless it is zero;
    // anything else gives the default.
    std::optional<std::int32_t> asBool = parsed;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        asBool = zelmo::ParseInt32(std::wstring(L"$").append(text.substr(2)));
    }
    const bool expectIfTrue = asBool ? *asBool != 0 : true;
    const bool expectIfFalse = asBool ? *asBool != 0 : false;
    Require(onIfTrue == expectIfTrue && onIfFalse == expectIfFalse,
            "ParseSettingBool: nonzero number on, zero off, no number the default", text,
            "number " + Shown(asBool) + ", got " + std::to_string(onIfTrue) + "/" + std::to_string(onIfFalse));
}

void CheckRoundTrip(std::int32_t v, int spaces) {
    const std::wstring pad(static_cast<std::size_t>(spaces), L' ');
    const std::wstring decimal = pad + std::to_wstring(v);
    if (zelmo::ParseInt32(decimal) != v) {
        Fail("every 32-bit value parses back from its decimal text", decimal);
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%" PRIX32, static_cast<std::uint32_t>(v));
    for (const std::wstring_view prefix : {L"$", L"x", L"0x", L"0X"}) {
        const std::wstring text = pad + std::wstring(prefix) + std::wstring(hex, hex + std::strlen(hex));
        if (zelmo::ParseInt32(text) != v) {
            Fail("every 32-bit value parses back from its hexadecimal text", text);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelmo::fuzz::InputReader in(data, size);
    const std::uint8_t mode = in.Byte();
    if (mode & 0x80) {
        CheckRoundTrip(in.Bits<std::int32_t>(), mode & 3);
    }
    CheckText(in.Utf16Rest((mode & 1) == 0));
    return 0;
}
