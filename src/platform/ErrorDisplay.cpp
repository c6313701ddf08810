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

void RaiseLastError(std::wstring_view call) {
    const DWORD code = ::GetLastError();
    wchar_t* text = nullptr;
    const DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueLocalMemory owner(text); // the system's buffer, freed on every way out
    std::wstring message(call);
    message += L": ";
    if (n > 0 && text != nullptr) {
        message.append(text, n);
        while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ' ||
                                    message.back() == L'.')) {
            message.pop_back();
        }
    } else {
        message += L"error " + std::to_wstring(code);
    }
    throw EZelmoError(std::move(message), CallerAddress());
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
            return {L"EOutOfMemory", L"メモリが不足しています", nullptr};
        } catch (const std::exception& e) {
            return {L"Exception", Widen(e.what()), nullptr};
        } catch (...) {
            return {L"Exception", L"", nullptr};
        }
    } catch (...) {
        return {};
    }
}

void ShowErrorMessage(HWND owner, std::wstring_view message) noexcept {
    try {
        const std::wstring text = ErrorDisplayText(message);
        ::MessageBoxW(owner, text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        ::MessageBoxW(owner, L"", L"", MB_OK | MB_ICONERROR);
    }
}

void ShowCurrentException(HWND owner) noexcept {
    ShowErrorMessage(owner, DescribeCurrentException().Message);
}

} // namespace zelmo::win
