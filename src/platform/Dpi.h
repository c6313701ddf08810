#pragma once
// The DPI of the primary monitor, which the strip's font follows.
namespace zelmo::win {

// The primary monitor's own DPI (GetDpiForMonitor, Windows 8.1 and later, looked up at run time from the
// system folder only), or the system DPI where that call does not exist.
int PrimaryMonitorDpi() noexcept;

} // namespace zelmo::win
