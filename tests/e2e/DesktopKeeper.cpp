// zelmo_desktop_keeper <desktop>: waits until a test desktop is ready, prints "ready ..." and then holds the
// Wine session open (so that every test does not pay for the session's start) until it is ended from outside.
#include "WinProgram.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>

namespace {

RECT WorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

int Dpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

bool ShellTaskbarShown() {
    const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    return tray != nullptr && ::IsWindowVisible(tray) && WorkArea().bottom < ::GetSystemMetrics(SM_CYSCREEN);
}

bool WindowManagerWorkArea() {
    return WorkArea().top > 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelmo_desktop_keeper bare|shell|icewm|dpi144\n");
        return 2;
    }
    const std::wstring desktop = argv[1];
    std::function<bool()> ready;
    if (desktop == L"bare") {
        ready = [] { return ::GetSystemMetrics(SM_CXSCREEN) > 0; };
    } else if (desktop == L"shell") {
        ready = ShellTaskbarShown;
    } else if (desktop == L"icewm") {
        ready = WindowManagerWorkArea;
    } else if (desktop == L"dpi144") {
        ready = [] { return Dpi() == 144; };
    } else {
        std::fprintf(stderr, "zelmo_desktop_keeper: unknown desktop %ls\n", desktop.c_str());
        return 2;
    }
    // The shell's taskbar comes with the first window of the session; a message-only window would not do.
    const HWND window =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "zelmo_desktop_keeper: no window can be created (is there an X display?)\n");
        return 1;
    }
    if (!zelmo::test::WaitFor(ready, 60000)) {
        const RECT area = WorkArea();
        std::fprintf(stderr,
                     "zelmo_desktop_keeper: desktop %ls not ready after 60 s (work area %ld,%ld-%ld,%ld, %d DPI)\n",
                     desktop.c_str(), area.left, area.top, area.right, area.bottom, Dpi());
        return 1;
    }
    ::DestroyWindow(window);
    const RECT area = WorkArea();
    std::printf("ready: work area %ld,%ld-%ld,%ld, %d DPI\n", area.left, area.top, area.right, area.bottom, Dpi());
    std::fflush(stdout);
    ::Sleep(INFINITE);
    return 0;
}
