#include "Settings.h"

#include <limits>

namespace zelmo {

std::wstring SettingsPathFromExePath(std::wstring_view exePath) {
    const std::size_t at = exePath.find_last_of(L".\\:");
    std::wstring path(exePath);
    if (at != std::wstring_view::npos && exePath[at] == L'.') {
        path.resize(at);
    }
    path += L".ini";
    return path;
}

namespace {

int HexDigitValue(wchar_t c) noexcept {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

} // namespace

std::optional<std::int32_t> ParseInt32(std::wstring_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && text[i] == L' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt; // no digit at all
    }
    // Hexadecimal texts may spell any 32-bit pattern (up to FFFFFFFF); decimal ones stay within the range.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull
                   : (negative ? 0x80000000ull : static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()));
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    const auto bits = static_cast<std::uint32_t>(magnitude);
    const auto value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    return value;
}

bool ParseSettingBool(std::wstring_view text, bool defaultValue) noexcept {
    std::wstring_view digits = text;
    std::optional<std::int32_t> value;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        // "0x…" reads as "$…": the hexadecimal digits follow the replaced prefix directly.
        digits = text.substr(2);
        if (!digits.empty() && HexDigitValue(digits[0]) >= 0) {
            value = ParseInt32(std::wstring(L"$").append(digits));
        }
    } else {
        value = ParseInt32(digits);
    }
    return value ? *value != 0 : defaultValue;
}

} // namespace zelmo
