#pragma once
// The window machinery every window of the program shares: a registered window class that is unregistered
// when released, and a base that ties a C++ object to its window from the first message on and holds the
// one boundary no exception crosses.
#include "ErrorDisplay.h"
#include "Handles.h"

#include <windows.h>

namespace zelmo::win {

// A registered window class. Registering a name that exists already (a second object of the same kind
// in one process) shares that class and leaves its release to the object that registered it. A non-zero
// icon is the id of an icon resource of the instance, shown for the class's windows (Alt+Tab, title bar).
class WindowClass {
public:
    WindowClass(const wchar_t* name, UINT style, WNDPROC procedure, HINSTANCE instance, WORD icon = 0);
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    ~WindowClass();

    const wchar_t* Name() const noexcept { return name_; }
    HINSTANCE Instance() const noexcept { return instance_; }

private:
    const wchar_t* name_;
    HINSTANCE instance_;
    bool registered_ = false;
};

// CRTP base. Derived provides
//   static constexpr const wchar_t* ClassName; static constexpr UINT ClassStyle;
//   LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
// and may provide static constexpr WORD ClassIcon, the icon resource its windows show, and hide ErrorOwner()
// to choose the owner of the error display.
template <typename Derived> class TWindow {
public:
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const noexcept { return window_.get(); }
    HINSTANCE Instance() const noexcept { return class_.Instance(); }

protected:
    explicit TWindow(HINSTANCE instance)
        : class_(Derived::ClassName, Derived::ClassStyle, &TWindow::WindowProc, instance, DerivedIcon()) {}
    ~TWindow() = default;

    // Creates the window; from WM_NCCREATE on every message reaches Derived::HandleMessage.
    void Create(DWORD exStyle, const wchar_t* caption, DWORD style, const RECT& bounds, HWND parent,
                HMENU menuOrId = nullptr) {
        ::SetLastError(ERROR_SUCCESS); // a refusal that sets no code (a hook's, say) must not show an older one
        ::CreateWindowExW(exStyle, class_.Name(), caption, style, bounds.left, bounds.top, bounds.right - bounds.left,
                          bounds.bottom - bounds.top, parent, menuOrId, class_.Instance(), this);
        if (!window_) {
            RaiseLastError(ErrorText::Window);
        }
    }

    // Every derived destructor calls this first: the window's last messages still reach a whole object.
    void Destroy() noexcept { window_.reset(); }

    LRESULT DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        return ::DefWindowProcW(window_.get(), msg, wParam, lParam);
    }

    HWND ErrorOwner() const noexcept { return ::GetAncestor(window_.get(), GA_ROOT); }

private:
    static constexpr WORD DerivedIcon() noexcept {
        if constexpr (requires { Derived::ClassIcon; }) {
            return Derived::ClassIcon;
        } else {
            return 0;
        }
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        TWindow* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->window_.reset(hwnd);
        } else {
            self = reinterpret_cast<TWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        if (msg == WM_NCDESTROY) {
            // The window is gone after this message: the object no longer owns it.
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->window_.release();
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        auto* derived = static_cast<Derived*>(self);
        try {
            return derived->HandleMessage(msg, wParam, lParam);
        } catch (...) {
            // The handler's remaining work is skipped; the error is shown and the program goes on.
            ShowCurrentException(derived->ErrorOwner());
            return 0;
        }
    }

    WindowClass class_;
    UniqueWindow window_; // last: destroyed before the class is unregistered
};

} // namespace zelmo::win
