#include "Stacking.h"

namespace zelmo::win {

namespace {

constexpr UINT StackingFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

bool IsTopmost(HWND window) noexcept {
    return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

} // namespace

void SetTopmost(HWND window, bool topmost) noexcept {
    ::SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, StackingFlags);
    if (topmost || !IsTopmost(window)) {
        return; // Windows: the one call is the whole switch
    }
    // Wine keeps an owned window directly above its owner in the stacking order, whatever the flags say.
    // When the owner is the first window below the topmost layer, "directly above" is inside that layer,
    // so the window stays topmost. With the owner at the bottom of the order, the same call takes the
    // window out of the layer. The owner is hidden, so its place in the order shows nowhere; the window
    // keeps its owner, its visibility and so its taskbar presence (un-owning it, even for one call, can
    // give it a taskbar button in Wine's shell).
    const HWND owner = ::GetWindow(window, GW_OWNER);
    if (owner == nullptr) {
        return;
    }
    ::SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, StackingFlags);
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, StackingFlags);
}

} // namespace zelmo::win
