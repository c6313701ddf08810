#pragma once
// The stacking switch of a top-level window: into the topmost layer or out of it, at once.
#include <windows.h>

namespace zelmo::win {

// Puts the window into the topmost layer or takes it out, without moving, sizing or activating it and
// without touching its owner's place in the stacking order.
void SetTopmost(HWND window, bool topmost) noexcept;

} // namespace zelmo::win
