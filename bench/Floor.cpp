// The fair floor of the strip's start-up: the work the design asks for before the strip first shows, written
// straight down with nothing around it, in the design's order:
//   the application's hidden owner window and the locale separators; the single-instance mutex test;
//   the strip (an owned popup) with its label child in Tahoma bold at the primary monitor's DPI;
//   the start time; one refresh (26 drive types, the space queries of the shown drives, memory, tick count,
//   work area), the line composed, measured on a screen DC and the strip sized and docked; the refresh timer and
//   the topmost layer; then the show: the owner hidden, seven keys read from the settings file beside the exe,
//   the strip shown. Its label paints the line as the strip's does. zelmo_startup_bench compares Zelmo3.exe with
//   it; WM_CLOSE ends it.
//
// Its mutex has a name of its own, so that a floor never passes for a running Zelmo3 (or the reverse) when both
// run in one Wine prefix; the cost of creating and testing a named mutex does not depend on the name.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t OwnerClass[] = L"ZelmoFloorOwner";
constexpr wchar_t StripClass[] = L"ZelmoFloor";
constexpr wchar_t LabelClass[] = L"ZelmoFloorLabel";
constexpr wchar_t Caption[] = L"ZelmoFloor";
constexpr wchar_t MutexName[] = L"ZelmoFloor_MutexName";
constexpr UINT LabelDrawFlags = DT_LEFT | DT_TOP | DT_EXPANDTABS;

HFONT LabelFont = nullptr;
std::wstring Line;

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(hwnd, &ps);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_INFOBK));
        const HGDIOBJ old = ::SelectObject(dc, LabelFont);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
        ::DrawTextW(dc, Line.c_str(), -1, &client, LabelDrawFlags);
        ::SelectObject(dc, old);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_GETFONT) {
        return reinterpret_cast<LRESULT>(LabelFont);
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StripProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The primary monitor's DPI: GetDpiForMonitor where the system has it (Windows 8.1 on), else the system DPI.
int PrimaryMonitorDpi() {
    using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    if (const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        const auto proc = reinterpret_cast<GetDpiForMonitorProc>(
            reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")));
        UINT dpiX = 0, dpiY = 0;
        if (proc != nullptr &&
            proc(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), 0 /* MDT_EFFECTIVE_DPI */, &dpiX, &dpiY) ==
                S_OK &&
            dpiY > 0) {
            return static_cast<int>(dpiY);
        }
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

wchar_t LocaleSeparator(LCID locale, LCTYPE type, wchar_t fallback) {
    wchar_t buffer[3] = {};
    return ::GetLocaleInfoW(locale, type, buffer, 3) > 0 && buffer[0] != L'\0' ? buffer[0] : fallback;
}

void AppendGigabytes(std::wstring& line, ULONGLONG bytes, wchar_t decimal) {
    wchar_t text[32];
    const ULONGLONG hundredths = (bytes * 100 + 536870912ULL) / 1073741824ULL; // rounded, as the line does
    std::swprintf(text, 32, L"%llu%lc%02lluGB", hundredths / 100, decimal, hundredths % 100);
    line += text;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The application: its hidden owner window and the locale's separators.
    ::RegisterWindowMessageW(L"TaskbarCreated");
    LCID locale = ::GetThreadLocale();
    if (!::IsValidLocale(locale, LCID_INSTALLED)) {
        locale = 0x0409;
    }
    const wchar_t decimal = LocaleSeparator(locale, LOCALE_SDECIMAL, L'.');
    const wchar_t dateSep = LocaleSeparator(locale, LOCALE_SDATE, L'/');
    const wchar_t timeSep = LocaleSeparator(locale, LOCALE_STIME, L':');
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = OwnerClass;
    ::RegisterClassExW(&wc);
    const HWND owner = ::CreateWindowExW(WS_EX_APPWINDOW, OwnerClass, L"Zelmofloor", WS_POPUP | WS_CAPTION, 0, 0, 0, 0,
                                         nullptr, nullptr, instance, nullptr);

    // One copy only; the handle stays open for the life of the process.
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, MutexName);
    if (::WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT) {
        return 0;
    }

    // The strip and its label.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StripProc;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = StripClass;
    ::RegisterClassExW(&wc);
    wc.lpfnWndProc = LabelProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = LabelClass;
    ::RegisterClassExW(&wc);
    const int dpi = PrimaryMonitorDpi();
    LabelFont =
        ::CreateFontW(::MulDiv(-12, dpi, 96), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
    const HWND strip =
        ::CreateWindowExW(WS_EX_CONTROLPARENT, StripClass, Caption, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                          ::MulDiv(452, dpi, 96), ::MulDiv(230, dpi, 96), owner, nullptr, instance, nullptr);
    const HWND label =
        ::CreateWindowExW(0, LabelClass, L"", WS_CHILD | WS_VISIBLE, ::MulDiv(56, dpi, 96), ::MulDiv(48, dpi, 96),
                          ::MulDiv(40, dpi, 96), ::MulDiv(14, dpi, 96), strip, nullptr, instance, nullptr);
    if (strip == nullptr || label == nullptr || LabelFont == nullptr) {
        return 1;
    }

    // The start time, then one refresh.
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const ULONGLONG bootTick = ::GetTickCount64();
    FILETIME nowFile{};
    ::SystemTimeToFileTime(&now, &nowFile);
    ULARGE_INTEGER start{};
    start.LowPart = nowFile.dwLowDateTime;
    start.HighPart = nowFile.dwHighDateTime;
    start.QuadPart -= bootTick * 10000;
    const FILETIME startFile{start.LowPart, start.HighPart};
    SYSTEMTIME started{};
    ::FileTimeToSystemTime(&startFile, &started);

    using GetDiskFreeSpaceExWProc = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    const auto diskFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExWProc>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetDiskFreeSpaceExW")));
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        if (::GetDriveTypeW(root) != DRIVE_FIXED) {
            continue;
        }
        // Free space and size are two readings of the line, one query each.
        ULARGE_INTEGER freeBytes{}, totalBytes{}, unused{};
        diskFreeSpaceEx(root, &freeBytes, &unused, nullptr);
        diskFreeSpaceEx(root, &unused, &totalBytes, nullptr);
        Line += L" [";
        Line.push_back(letter);
        Line += L"] ";
        AppendGigabytes(Line, freeBytes.QuadPart, decimal);
        Line.push_back(L'/');
        AppendGigabytes(Line, totalBytes.QuadPart, decimal);
    }
    MEMORYSTATUS memory{};
    memory.dwLength = sizeof(memory);
    ::GlobalMemoryStatus(&memory);
    const ULONGLONG seconds = ::GetTickCount64() / 1000;
    wchar_t text[160];
    std::swprintf(text, 160, L" <%lu%% %lluMB> <%04u%lc%02u%lc%02u %02u%lc%02u%lc%02u> <", 100 - memory.dwMemoryLoad,
                  static_cast<ULONGLONG>(memory.dwAvailPhys) >> 20, started.wYear, dateSep, started.wMonth, dateSep,
                  started.wDay, started.wHour, timeSep, started.wMinute, timeSep, started.wSecond);
    Line += text;
    if (seconds >= 86400) {
        Line += std::to_wstring(seconds / 86400) + L"日と";
    }
    std::swprintf(text, 160, L"%02llu%lc%02llu%lc%02llu> ", seconds % 86400 / 3600, timeSep, seconds % 3600 / 60,
                  timeSep, seconds % 60);
    Line += text;
    ::SetWindowTextW(label, Line.c_str());

    RECT size{};
    const HDC screen = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(screen, LabelFont);
    ::DrawTextW(screen, Line.c_str(), -1, &size, DT_CALCRECT | DT_EXPANDTABS);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    ::SetWindowPos(label, nullptr, 1, 1, size.right, size.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int width = size.right + 2, height = size.bottom + 2;
    const int left = (area.right - area.left - width) / 2;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int top = area.bottom - area.top - height;
    ::SetWindowPos(strip, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetTimer(strip, 1, 500, nullptr);
    ::SetWindowPos(strip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);

    // The show: the owner stays hidden, the settings are read, the strip appears.
    ::ShowWindow(owner, SW_HIDE);
    std::wstring ini(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = ::GetModuleFileNameW(nullptr, ini.data(), static_cast<DWORD>(ini.size()))) == ini.size()) {
        ini.resize(ini.size() * 2);
    }
    ini.resize(n);
    ini.replace(ini.find_last_of(L'.'), std::wstring::npos, L".ini");
    std::wstring value(2048, L'\0');
    for (const wchar_t* key : {L"LowerPosition", L"CheckRemoteDrive", L"DiskSize", L"StayOnTop", L"MemoryState",
                               L"StartTime", L"TickCount"}) {
        ::GetPrivateProfileStringW(L"Main", key, L"", value.data(), static_cast<DWORD>(value.size()), ini.c_str());
    }
    ::ShowWindow(strip, SW_SHOWNORMAL);

    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::CloseHandle(mutex);
    return static_cast<int>(msg.wParam);
}
