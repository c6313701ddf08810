#include "Application.h"

#include "ErrorDisplay.h"
#include "Readings.h"

#include <cwchar>

namespace zelmo::win {

TApplication::TApplication(HINSTANCE instance)
    : instance_(instance), taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")) {
    ReadSeparators();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = ClassName;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        RaiseLastError(L"RegisterClassExW");
    }
    // A zero-sized window that is never shown: it owns the strip, and its app-window style would be the
    // program's taskbar button if it ever became visible.
    const HWND hwnd = ::CreateWindowExW(WS_EX_APPWINDOW, ClassName, ApplicationTitle().c_str(),
                                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                        ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                        nullptr, nullptr, instance_, this);
    if (hwnd == nullptr) {
        RaiseLastError(L"CreateWindowExW");
    }
    window_.reset(hwnd);
}

int TApplication::Run() {
    // The application window is never made visible: shown only to be hidden again by the strip's show
    // handler, it would flash a taskbar button at every start (and, without a window manager, hiding it
    // again stalls for seconds).
    if (main_ != nullptr) {
        main_->Show();
    }
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void TApplication::ShowException() noexcept {
    ShowCurrentException(main_ != nullptr ? main_->Handle() : Handle());
}

void TApplication::ReadSeparators() {
    separators_ = LoadLocaleSeparators();
    ++separatorReads_;
}

void TApplication::RegionalSettingsChanged() {
    ::SetThreadLocale(LOCALE_USER_DEFAULT);
    ReadSeparators();
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    TApplication* self = WindowInstance<TApplication>(hwnd, msg, lParam);
    if (self == nullptr || self->window_.get() == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        self->ShowException();
        return 0;
    }
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETTINGCHANGE:
        // Only the regional settings ("intl", compared exactly) concern the separators.
        if (lParam != 0 && std::wcscmp(reinterpret_cast<const wchar_t*>(lParam), L"intl") == 0) {
            RegionalSettingsChanged();
        }
        break;
    case WM_CLOSE:
        // Closing the application window closes the strip, through the strip's own close query.
        if (main_ != nullptr) {
            main_->RequestClose();
        }
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE) {
            Terminate();
        }
        return 0;
    default:
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            RegionalSettingsChanged();
            return 0;
        }
        break;
    }
    return ::DefWindowProcW(Handle(), msg, wParam, lParam);
}

} // namespace zelmo::win
