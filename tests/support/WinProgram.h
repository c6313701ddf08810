#pragma once
// What the Windows test programs and benchmarks need around them: where a file named on the command line is,
// whether windows can be made at all, and waiting while this thread's messages keep flowing.
#include <windows.h>

#include <functional>
#include <string>

namespace zelmo::test {

// A path from the command line as Windows names it: ctest passes host paths (/a/b/Zelmo3.exe), which are on
// drive Z: under Wine.
inline std::wstring WindowsPath(const char* arg) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, arg, -1, nullptr, 0);
    std::wstring path(n > 0 ? static_cast<std::size_t>(n) : 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, arg, -1, path.data(), n);
    path.resize(path.size() - 1);
    if (!path.empty() && path.front() == L'/') {
        for (wchar_t& c : path) {
            c = c == L'/' ? L'\\' : c;
        }
        path.insert(0, L"Z:");
    }
    return path;
}

// Without a display (Wine with no X server) no window can be created.
inline bool DisplayUsable() {
    if (::GetSystemMetrics(SM_CXSCREEN) == 0) {
        return false;
    }
    const HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr) {
        return false;
    }
    ::DestroyWindow(probe);
    return true;
}

// Polls `done` every few milliseconds, dispatching this thread's messages in between, until it holds (true) or
// the time runs out (false).
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) {
            return true;
        }
        if (::GetTickCount64() >= end) {
            return false;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

} // namespace zelmo::test
