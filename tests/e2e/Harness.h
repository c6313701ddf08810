#pragma once
// Drives a real Zelmo3.exe from outside, the way another program or the user would: a private copy in a
// fresh temporary folder, window look-ups, WM_GETTEXT, synthetic mouse and keyboard input.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The exe under test and the menu-reading hook DLL (Windows paths), set by the driver's main.
extern std::wstring ProgramPath, MenuProbePath;

// Polls `done` every few milliseconds (pumping this thread's messages) until it holds or time runs out.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs);

std::wstring TextOf(HWND window); // WM_GETTEXT, also across processes
std::wstring ClassOf(HWND window);
RECT WorkArea();
POINT Centre(const RECT& r);
std::vector<HWND> TopLevelWindows(const wchar_t* className, DWORD processId); // processId 0: any process
HWND VisibleTopLevel(const wchar_t* className, DWORD processId);              // nullptr when none

void RightClick(POINT at);
void DoubleClick(POINT at);
void PressKey(WORD virtualKey);

// Which segments a status line is expected to carry; drives are always there.
struct LineShape {
    bool totals, memory, startTime, uptime;
};
bool HasShape(const std::wstring& line, const LineShape& shape);
std::optional<long long> UptimeSeconds(const std::wstring& line);

// Lines of a UTF-8 (or ASCII) text file without their line ends; nullopt when the file cannot be read.
std::optional<std::vector<std::wstring>> ReadLines(const std::wstring& path);
// Value of key in [section] of those lines (case-insensitive names), nullopt when absent.
std::optional<std::wstring> IniValue(const std::vector<std::wstring>& lines, const std::wstring& section,
                                     const std::wstring& key);

extern const wchar_t* const SettingKeys[7]; // in the order a save writes them

// An item of an open menu as the strip's process sees it; depth 1 for the items of a submenu.
struct MenuItem {
    int depth;
    UINT type, state;
    std::wstring caption;
};

// One test: a temporary folder with its own copy of the exe, the processes started from it, and the strip.
class Zelmo : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HANDLE Launch();                 // starts a copy of the exe from the folder; ended in TearDown at the latest
    void Start();                    // Launch, then wait for its strip to be shown; fills the handles below
    DWORD ExitCode(DWORD timeoutMs); // of the started strip's process; STILL_ACTIVE when it is still running
    static DWORD ExitCodeOf(HANDLE process, DWORD timeoutMs);

    std::wstring Line() const { return TextOf(label_); }
    RECT StripRect() const;
    bool Topmost() const;
    bool AtTopEdge() const;    // docked at the top of the work area
    bool AtBottomEdge() const; // docked at the bottom of the work area
    // Waits for the line to change, i.e. a refresh tick that just happened; returns its time (GetTickCount64).
    ULONGLONG NextTextChange();

    HWND OpenMenu(POINT at); // right-click and wait for the strip's visible menu window; nullptr on time-out
    // The items of an open menu window, read inside the strip's process by the hook DLL; empty on failure.
    std::vector<MenuItem> MenuItems(HWND menuWindow);
    bool MenuClosed();        // waits until the strip has no visible menu window
    HWND WaitForMessageBox(); // the strip's visible #32770, nullptr on time-out

    std::wstring dir_, exe_, ini_;
    std::vector<HANDLE> processes_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND strip_ = nullptr, label_ = nullptr, app_ = nullptr;
};

} // namespace e2e
