#pragma once
// Sizing and docking arithmetic of the strip: the label plus a one-pixel frame, centred on the
// work area and docked inside it at the top or the bottom edge.
#include <cstdint>

namespace zelmo {

struct WorkArea {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

struct WindowBounds {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// Division truncates toward zero, so a strip wider than the work area overhangs both sides evenly.
// The work area's own left and top are added so that a taskbar at the top or left is not covered.
constexpr WindowBounds DockStrip(std::int32_t labelWidth, std::int32_t labelHeight, bool upperEdge,
                                 const WorkArea& area) noexcept {
    WindowBounds b;
    b.Height = labelHeight + 2;
    b.Width = labelWidth + 2;
    b.Left = area.Left + (area.Width - b.Width) / 2;
    b.Top = upperEdge ? area.Top : area.Top + area.Height - b.Height;
    return b;
}

} // namespace zelmo
