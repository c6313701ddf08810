#pragma once
// Counts the moves and resizes of one window from outside it: a hook on the calling thread sees every
// WM_WINDOWPOSCHANGING the window receives, whoever asks for the change.
#include <windows.h>

namespace zelmo::test {

class WindowMoveCounter {
public:
    explicit WindowMoveCounter(HWND window) noexcept {
        window_ = window;
        count_ = 0;
        hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    WindowMoveCounter(const WindowMoveCounter&) = delete;
    WindowMoveCounter& operator=(const WindowMoveCounter&) = delete;
    ~WindowMoveCounter() {
        if (hook_ != nullptr) {
            ::UnhookWindowsHookEx(hook_);
        }
        window_ = nullptr;
    }

    bool Installed() const noexcept { return hook_ != nullptr; }
    // Position or size changes asked for since the counter was made (z-order-only changes do not count).
    long Moves() const noexcept { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) noexcept {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->hwnd == window_ && message->message == WM_WINDOWPOSCHANGING) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(message->lParam);
            if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
                ++count_;
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // One counter at a time per process: the hook procedure has no context of its own.
    static inline HWND window_ = nullptr;
    static inline long count_ = 0;
    HHOOK hook_ = nullptr;
};

} // namespace zelmo::test
