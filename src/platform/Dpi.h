#pragma once
// The DPI of the primary monitor, which the strip's font follows.
#include <windows.h>

namespace zelmo::win {

// WM_DPICHANGED, sent from Windows 8.1 on: the headers of the lowest system version the program runs on
// lack it.
inline constexpr UINT DpiChangedMessage = 0x02E0;

// The primary monitor's own DPI (GetDpiForMonitor, Windows 8.1 and later, looked up at run time from the
// system folder only), or the system DPI where that call does not exist.
int PrimaryMonitorDpi() noexcept;

} // namespace zelmo::win
