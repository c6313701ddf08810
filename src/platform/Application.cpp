#include "Application.h"

#include "ErrorDisplay.h"
#include "Locale.h"

#include <cwchar>

namespace zelmo::win {

TApplication::TApplication(HINSTANCE instance, SeparatorSource separators)
    : TWindow(instance), taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")),
      separatorSource_(separators ? std::move(separators) : SeparatorSource(&LoadLocaleSeparators)),
      separators_(separatorSource_()) {
    // A zero-sized window that is never shown: it owns the strip, and its app-window style would be the
    // program's taskbar button if it ever became visible.
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2, y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    Create(WS_EX_APPWINDOW, ApplicationTitle().c_str(),
           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, RECT{x, y, x, y}, nullptr);
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

HWND TApplication::ErrorOwner() const noexcept {
    return main_ != nullptr ? main_->Handle() : Handle();
}

void TApplication::ShowException() noexcept {
    ShowCurrentException(ErrorOwner());
}

void TApplication::RegionalSettingsChanged() {
    ::SetThreadLocale(LOCALE_USER_DEFAULT);
    separators_ = separatorSource_();
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
        // Once this message returns the session may end at any moment, so the process ends right here:
        // the settings were saved when the session was queried, and a quit message could be too late.
        if (wParam != FALSE) {
            ::ExitProcess(0);
        }
        return 0;
    default:
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            RegionalSettingsChanged();
            return 0;
        }
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

} // namespace zelmo::win
