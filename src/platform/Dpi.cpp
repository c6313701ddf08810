#include "Dpi.h"

#include "Handles.h"
#include "status/Scaling.h"

#include <windows.h>

#include <optional>

namespace zelmo::win {
namespace {

// MDT_EFFECTIVE_DPI of shellscalingapi.h, which older SDKs lack.
constexpr int EffectiveDpi = 0;
// LOAD_LIBRARY_SEARCH_SYSTEM32, known to Windows 6.0 and 6.1 only with an update: where it is unknown the load
// fails and the system DPI is used.
constexpr DWORD SearchSystem32Only = 0x00000800;
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

std::optional<int> MonitorDpi(HMONITOR monitor) noexcept {
    // Never from the program's own folder: a planted shcore.dll there must not be loaded.
    const UniqueModule shcore(::LoadLibraryExW(L"shcore.dll", nullptr, SearchSystem32Only));
    if (!shcore || monitor == nullptr) {
        return std::nullopt;
    }
    const auto getDpiForMonitor = reinterpret_cast<GetDpiForMonitorFunction>(
        reinterpret_cast<void*>(::GetProcAddress(shcore.get(), "GetDpiForMonitor")));
    UINT x = 0, y = 0;
    if (getDpiForMonitor == nullptr || FAILED(getDpiForMonitor(monitor, EffectiveDpi, &x, &y))) {
        return std::nullopt;
    }
    return static_cast<int>(y);
}

int SystemDpi() noexcept {
    const UniqueScreenDC screen(::GetDC(nullptr));
    return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
}

} // namespace

int PrimaryMonitorDpi() noexcept {
    // The primary monitor is the one whose top-left corner is the screen's origin.
    const HMONITOR primary = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    return ChooseFontDpi(MonitorDpi(primary), SystemDpi());
}

} // namespace zelmo::win
