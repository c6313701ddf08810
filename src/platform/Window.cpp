#include "Window.h"

namespace zelmo::win {
namespace {

HICON LoadSharedIcon(HINSTANCE instance, WORD icon, int widthMetric, int heightMetric) noexcept {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_SHARED));
}

} // namespace

WindowClass::WindowClass(const wchar_t* name, UINT style, WNDPROC procedure, HINSTANCE instance, WORD icon)
    : name_(name), instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    if (icon != 0) {
        // Shared icons belong to the system's cache: nothing to destroy. A missing one (a test exe without
        // the resources) leaves the default icon.
        wc.hIcon = LoadSharedIcon(instance, icon, SM_CXICON, SM_CYICON);
        wc.hIconSm = LoadSharedIcon(instance, icon, SM_CXSMICON, SM_CYSMICON);
    }
    wc.lpszClassName = name;
    ::SetLastError(ERROR_SUCCESS); // a failure that sets no code must not show an older one as its cause
    if (::RegisterClassExW(&wc) != 0) {
        registered_ = true;
    } else if (::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        RaiseLastError(ErrorText::WindowClass);
    }
}

WindowClass::~WindowClass() {
    if (registered_) {
        ::UnregisterClassW(name_, instance_);
    }
}

} // namespace zelmo::win
