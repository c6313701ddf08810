#include "ErrorDisplay.h"

#include "Handles.h"
#include "Module.h"
#include "status/AppText.h"
#include "status/Error.h"

#include <new>

namespace zelmo::win {
namespace {

const void* CallerAddress() noexcept {
    void* frames[1] = {};
    // Frame 0 is this function, 1 the raiser, 2 the code that called the raiser.
    return ::RtlCaptureStackBackTrace(2, 1, frames, nullptr) == 1 ? frames[0] : nullptr;
}

wchar_t LowerChar(wchar_t c) {
    wchar_t text[2] = {c, L'\0'};
    ::CharLowerBuffW(text, 1);
    return text[0];
}

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (; text != nullptr && *text != '\0'; ++text) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*text)));
    }
    return wide;
}

} // namespace

void RaiseError(std::wstring message) {
    throw EZelmoError(std::move(message), CallerAddress());
}

// The system's description of an error code in the user's language; empty when there is none (also for
// "no error": GDI's creators often fail without setting the code).
std::wstring SystemErrorText(DWORD code) {
    if (code == ERROR_SUCCESS) {
        return {};
    }
    constexpr DWORD Flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    wchar_t* text = nullptr;
    DWORD n = ::FormatMessageW(Flags, nullptr, code, LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (n == 0) {
        // No text in the user's language: the system's usual choice of language.
        n = ::FormatMessageW(Flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    }
    const UniqueLocalMemory owner(text); // the system's buffer, freed on every way out
    return n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
}

void RaiseLastError(ErrorText what) {
    const DWORD code = ::GetLastError();
    throw EZelmoError(FailureMessage(what, SystemErrorText(code)), CallerAddress());
}

const std::wstring& ApplicationTitle() {
    static const std::wstring title = AppTitleFromExePath(ExecutablePath(), LowerChar);
    return title;
}

CaughtError DescribeCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const EZelmoError& e) {
            return {Widen(e.what()), e.Message(), e.Address()};
        } catch (const std::bad_alloc&) {
            return {L"EOutOfMemory", std::wstring(ErrorTextOf(ErrorText::OutOfMemory)), nullptr};
        } catch (...) {
            // The runtime's own texts are English and say nothing to the user.
            return {L"Exception", std::wstring(ErrorTextOf(ErrorText::Unexpected)), nullptr};
        }
    } catch (...) {
        return {};
    }
}

void ShowErrorMessage(HWND owner, std::wstring_view message) noexcept {
    // Only the GUI thread shows errors, so a plain flag says whether its box is open.
    static bool boxOpen = false;
    if (boxOpen) {
        return;
    }
    boxOpen = true;
    // Whatever of the text and the title cannot be made, the box still appears, and never without a title.
    std::wstring text;
    const wchar_t* title = FallbackErrorTitle.data();
    try {
        text = ErrorDisplayText(message);
        title = ApplicationTitle().c_str();
    } catch (...) {
    }
    ::MessageBoxW(owner, text.c_str(), title, MB_OK | MB_ICONERROR);
    boxOpen = false;
}

void ShowCurrentException(HWND owner) noexcept {
    ShowErrorMessage(owner, DescribeCurrentException().Message);
}

} // namespace zelmo::win
