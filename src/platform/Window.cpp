#include "Window.h"

namespace zelmo::win {

WindowClass::WindowClass(const wchar_t* name, UINT style, WNDPROC procedure, HINSTANCE instance)
    : name_(name), instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
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
