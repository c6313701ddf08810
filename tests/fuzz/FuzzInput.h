#pragma once
// Shared helpers of the fuzz targets: turning raw input bytes into texts and numbers, and failing loudly.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace zelmo::fuzz {

// Reads the input from the front; missing bytes read as zero, so every input is usable.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) noexcept : data_(data), size_(size) {}

    std::size_t Remaining() const noexcept { return size_ - at_; }

    std::uint8_t Byte() noexcept { return at_ < size_ ? data_[at_++] : 0; }

    template <typename T> T Bits() noexcept {
        unsigned char bytes[sizeof(T)] = {};
        for (auto& b : bytes) {
            b = Byte();
        }
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // The rest of the input as UTF-16 code units. In byte mode every byte is one unit (0-255), which
    // keeps the ASCII grammar of the values easy to reach; otherwise two bytes make one unit.
    std::wstring Utf16Rest(bool byteMode) {
        std::wstring text;
        while (Remaining() > 0) {
            if (byteMode) {
                text.push_back(static_cast<wchar_t>(Byte()));
            } else {
                const unsigned low = Byte();
                const unsigned high = Byte();
                text.push_back(static_cast<wchar_t>(low | (high << 8)));
            }
        }
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Printable form of a UTF-16 text for failure messages (non-ASCII units as \uXXXX).
inline std::string Printable(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char buffer[12];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

// A broken property: report it and abort, which libFuzzer records as a crash with its input.
[[noreturn]] inline void Fail(const char* property, std::wstring_view text, const std::string& detail = {}) {
    std::fprintf(stderr, "\nproperty broken: %s\n  text: \"%s\"\n  %s\n", property, Printable(text).c_str(),
                 detail.c_str());
    std::abort();
}

inline void Require(bool holds, const char* property, std::wstring_view text, const std::string& detail = {}) {
    if (!holds) {
        Fail(property, text, detail);
    }
}

} // namespace zelmo::fuzz
