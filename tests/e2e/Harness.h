#pragma once
// Drives a real Zelmo3.exe from outside, the way another program or the user would: a private copy in a
// fresh temporary folder, window look-ups, WM_GETTEXT, synthetic mouse and keyboard input.
#include "LineShape.h"
#include "WinProgram.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The exe under test and the menu-reading hook DLL (Windows paths), set by the driver's main.
extern std::wstring ProgramPath, MenuProbePath;

using zelmo::test::WaitFor;

std::wstring TextOf(HWND window); // WM_GETTEXT, also across processes
std::wstring ClassOf(HWND window);
RECT WorkArea();
POINT Centre(const RECT& r);

// The desktop the tests run on, named by ZELMO_DESKTOP (the test desktops of the Windows build under Wine).
enum class Desktop {
    Bare,          // an X screen alone: no taskbar, the work area is the whole screen
    Shell,         // Wine's own desktop shell (or Explorer): a taskbar along the bottom
    WindowManager, // an X window manager with its taskbar along the top; it never gives the strip the keyboard
};
Desktop CurrentDesktop();
const char* DesktopName(Desktop desktop);

// The captions of the task buttons on the shell's taskbar (Shell_TrayWnd's visible Button children after the
// Start button); empty where there is no such taskbar.
std::vector<std::wstring> TaskButtons();
// The window manager's _NET_WM_STATE of a window (read with xprop from the host), e.g.
// "_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_ABOVE"; nullopt and the reason when it cannot be read.
std::optional<std::wstring> NetWmState(HWND window, std::string& error);
// Success when nothing on the desktop gives the window a taskbar button: by Windows' own rule (a visible
// window without owner, or with WS_EX_APPWINDOW, gets one), on the shell's taskbar, and in the window
// manager's window state.
testing::AssertionResult HasNoTaskbarButton(HWND window);
std::vector<HWND> TopLevelWindows(const wchar_t* className, DWORD processId); // processId 0: any process
HWND VisibleTopLevel(const wchar_t* className, DWORD processId);              // nullptr when none

void RightClick(POINT at);
void Click(POINT at);
void DoubleClick(POINT at);
void PressKey(WORD virtualKey);

using zelmo::test::HasShape;
using zelmo::test::LineShape;
using zelmo::test::UptimeSeconds;

// Lines of a UTF-8 (or ASCII) text file without their line ends; nullopt when the file cannot be read.
std::optional<std::vector<std::wstring>> ReadLines(const std::wstring& path);
// Value of key in [section] of those lines (case-insensitive names), nullopt when absent.
std::optional<std::wstring> IniValue(const std::vector<std::wstring>& lines, const std::wstring& section,
                                     const std::wstring& key);

std::vector<std::wstring> SavedKeys(); // the settings' key names in the order a save writes them

// An item of an open menu as the strip's process sees it; depth 1 for the items of a submenu, which have no
// rectangle (their submenu is not open).
struct MenuItem {
    int depth;
    UINT type, state;
    std::wstring caption;
    RECT rect{};
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
    bool AtTopEdge() const;    // at the top of the work area
    bool AtBottomEdge() const; // at the bottom of the work area
    // Success when the strip is docked: the label's size plus its frame, against the edge's side of the work
    // area, centred on it (the two margins equal, or one pixel apart when the difference is odd), inside it.
    testing::AssertionResult Docked(bool top) const;
    // Waits for the line to change, i.e. a refresh tick that just happened; returns its time (GetTickCount64).
    ULONGLONG NextTextChange();

    HWND OpenMenu(POINT at); // right-click and wait for the strip's visible menu window; nullptr on time-out
    // The items of an open menu window, read inside the strip's process by the hook DLL; empty on failure.
    std::vector<MenuItem> MenuItems(HWND menuWindow);
    // The way to choose item `row` of an open menu: its access key, or where keys go nowhere (under the window
    // manager) a click on it. Whatever needs reading is read here, so that the choice itself is quick.
    std::function<void()> MenuItemChooser(HWND menuWindow, WORD accessKey, size_t row);
    void CloseMenu(); // Esc, or where keys go nowhere a click beside the menu on the strip's frame
    bool MenuClosed(); // waits until the strip has no visible menu window
    HWND WaitForMessageBox(); // the strip's visible #32770, nullptr on time-out

    std::wstring dir_, exe_, ini_;
    std::vector<HANDLE> processes_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND strip_ = nullptr, label_ = nullptr, app_ = nullptr;
};

} // namespace e2e
