#pragma once
// Raising errors with the code address that raised them, and the application's error display.
#include "status/AppText.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace zelmo::win {

// Throws EZelmoError carrying message and the caller's code address.
[[noreturn]] void RaiseError(std::wstring message);
// Throws EZelmoError saying what could not be done, followed by the system's description of
// GetLastError() in the user's language.
[[noreturn]] void RaiseLastError(ErrorText what);

// The executable's name as the title of message boxes ("Zelmo3").
const std::wstring& ApplicationTitle();

// Kind, message and code address of the exception in flight (call only inside a catch block).
struct CaughtError {
    std::wstring Kind;
    std::wstring Message;
    const void* Address = nullptr;
};
CaughtError DescribeCurrentException() noexcept;

// The error display: a modal box with an error icon and OK, titled with the application title, the
// message ending in "." by the usual rule. Call inside a catch block; never throws.
// One box at a time: the box's modal loop goes on delivering ticks and close requests, so an error that
// recurs while a box is open would otherwise open a box inside the box, deeper on the stack each time.
// Such an error is not shown; the handler that raised it is abandoned all the same.
void ShowCurrentException(HWND owner) noexcept;
void ShowErrorMessage(HWND owner, std::wstring_view message) noexcept;

} // namespace zelmo::win
