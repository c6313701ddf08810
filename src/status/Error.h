#pragma once
// The program's one error type: errors are raised, not returned, and carry a UTF-16 message
// for the application's error display.
#include <exception>
#include <string>

namespace zelmo {

class EZelmoError : public std::exception {
public:
    explicit EZelmoError(std::wstring message, const void* address = nullptr)
        : message_(std::move(message)), address_(address) {}

    const std::wstring& Message() const noexcept { return message_; }
    // Code address at which the error was raised, when the raiser knew it (used by the start-up box).
    const void* Address() const noexcept { return address_; }
    const char* what() const noexcept override { return "EZelmoError"; }

private:
    std::wstring message_;
    const void* address_;
};

// A date-time value that cannot be represented (before 0001-01-01 or beyond the millisecond range).
class EConvertError : public EZelmoError {
public:
    using EZelmoError::EZelmoError;
    const char* what() const noexcept override { return "EConvertError"; }
};

} // namespace zelmo
