#include "Harness.h"

#include "status/Settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <sstream>

namespace e2e {

std::wstring ProgramPath, MenuProbePath;

std::vector<std::wstring> SavedKeys() {
    std::vector<std::wstring> keys;
    for (const zelmo::SettingKey key : zelmo::SaveOrder) {
        keys.emplace_back(zelmo::SettingKeyName(key));
    }
    return keys;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return L"<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          2000, &copied);
    text.resize(copied);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int n = ::GetClassNameW(window, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

RECT WorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<HWND> TopLevelWindows(const wchar_t* className, DWORD processId) {
    struct Query {
        const wchar_t* className;
        DWORD processId;
        std::vector<HWND> found;
    } query{className, processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& q = *reinterpret_cast<Query*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (ClassOf(window) == q.className && (q.processId == 0 || owner == q.processId)) {
                q.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND VisibleTopLevel(const wchar_t* className, DWORD processId) {
    for (HWND window : TopLevelWindows(className, processId)) {
        if (::IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// --- Desktop --------------------------------------------------------------------------------

Desktop CurrentDesktop() {
    // Wine has a hidden Shell_TrayWnd on every desktop; only the shell shows it.
    static const Desktop desktop = [] {
        const std::string_view name = std::getenv("ZELMO_DESKTOP") != nullptr ? std::getenv("ZELMO_DESKTOP") : "";
        if (name == "icewm") {
            return Desktop::WindowManager;
        }
        if (name == "shell") {
            return Desktop::Shell;
        }
        const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
        return name.empty() && tray != nullptr && ::IsWindowVisible(tray) ? Desktop::Shell : Desktop::Bare;
    }();
    return desktop;
}

const char* DesktopName(Desktop desktop) {
    switch (desktop) {
    case Desktop::Bare:
        return "the bare screen";
    case Desktop::Shell:
        return "Wine's shell";
    case Desktop::WindowManager:
        return "the window manager";
    }
    return "?";
}

std::vector<std::wstring> TaskButtons() {
    std::vector<std::wstring> captions;
    const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (tray == nullptr || !::IsWindowVisible(tray)) {
        return captions;
    }
    bool start = true;
    for (HWND child = ::GetWindow(tray, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::_wcsicmp(ClassOf(child).c_str(), L"Button") != 0 || !::IsWindowVisible(child)) {
            continue;
        }
        if (start) {
            start = false; // the Start button
            continue;
        }
        captions.push_back(TextOf(child));
    }
    return captions;
}

std::optional<std::wstring> NetWmState(HWND window, std::string& error) {
    // Wine's X11 driver keeps the X window of a top-level window in this window property.
    const auto xid = reinterpret_cast<ULONG_PTR>(::GetPropW(window, L"__wine_x11_whole_window"));
    if (xid == 0) {
        error = "the window has no X window";
        return std::nullopt;
    }
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring file = std::wstring(temp) + L"zelmo-e2e-xprop-" + std::to_wstring(::GetCurrentProcessId());
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const HANDLE out =
        ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        error = "cannot create " + testing::PrintToString(file);
        return std::nullopt;
    }
    // Wine starts a host program given by its path on drive Z: as it is; it inherits DISPLAY.
    std::wstring commandLine = L"xprop -id " + std::to_wstring(xid) + L" _NET_WM_STATE";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION info{};
    const bool started = ::CreateProcessW(L"Z:\\usr\\bin\\xprop", commandLine.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, nullptr, &startup, &info);
    const DWORD startError = ::GetLastError();
    ::CloseHandle(out);
    if (!started) {
        ::DeleteFileW(file.c_str());
        error = "cannot start xprop: error " + std::to_string(startError);
        return std::nullopt;
    }
    // The handle Wine gives for a host program is signalled at once; the program's output tells it has run.
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    std::optional<std::vector<std::wstring>> lines;
    WaitFor(
        [&] {
            lines = ReadLines(file);
            return lines.has_value() && !lines->empty();
        },
        5000);
    ::DeleteFileW(file.c_str());
    if (!lines.has_value() || lines->empty()) {
        error = "xprop wrote nothing";
        return std::nullopt;
    }
    // "_NET_WM_STATE(ATOM) = _NET_WM_STATE_SKIP_TASKBAR, ..." or "_NET_WM_STATE:  not found."
    const std::wstring& line = lines->front();
    const size_t equals = line.find(L" = ");
    if (line.starts_with(L"_NET_WM_STATE:")) {
        return std::wstring();
    }
    if (!line.starts_with(L"_NET_WM_STATE(ATOM)") || equals == std::wstring::npos) {
        error = "xprop wrote " + testing::PrintToString(line);
        return std::nullopt;
    }
    return line.substr(equals + 3);
}

testing::AssertionResult HasNoTaskbarButton(HWND window) {
    const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (::IsWindowVisible(window) && (::GetWindow(window, GW_OWNER) == nullptr || (exStyle & WS_EX_APPWINDOW) != 0)) {
        return testing::AssertionFailure() << "the window is visible and has no owner or has WS_EX_APPWINDOW";
    }
    switch (CurrentDesktop()) {
    case Desktop::Bare:
        break;
    case Desktop::Shell:
        if (const auto buttons = TaskButtons(); !buttons.empty()) {
            return testing::AssertionFailure() << "task buttons " << testing::PrintToString(buttons);
        }
        break;
    case Desktop::WindowManager:
        if (::IsWindowVisible(window)) {
            std::string error;
            const auto state = NetWmState(window, error);
            if (!state.has_value()) {
                return testing::AssertionFailure() << "cannot read the window's _NET_WM_STATE: " << error;
            }
            if (state->find(L"_NET_WM_STATE_SKIP_TASKBAR") == std::wstring::npos) {
                return testing::AssertionFailure() << "_NET_WM_STATE without SKIP_TASKBAR: "
                                                   << testing::PrintToString(*state);
            }
        }
        break;
    }
    return testing::AssertionSuccess();
}

// --- Input ------------------------------------------------------------------------------------

namespace {

INPUT MouseInput(POINT at, DWORD flags) {
    // Absolute coordinates run from 0 to 65535 over the primary screen; round up so that the
    // conversion back (x * 65536 / width, truncated) lands on the pixel asked for.
    const LONG width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(at.x) * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(at.y) * 65536 + height - 1) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

void Send(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void MoveTo(POINT at) {
    Send({MouseInput(at, 0)});
    POINT cursor{};
    WaitFor([&] { return ::GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y; }, 1000);
    EXPECT_EQ(cursor.x, at.x);
    EXPECT_EQ(cursor.y, at.y);
}

} // namespace

void RightClick(POINT at) {
    MoveTo(at);
    Send({MouseInput(at, MOUSEEVENTF_RIGHTDOWN), MouseInput(at, MOUSEEVENTF_RIGHTUP)});
}

void Click(POINT at) {
    MoveTo(at);
    Send({MouseInput(at, MOUSEEVENTF_LEFTDOWN), MouseInput(at, MOUSEEVENTF_LEFTUP)});
}

void DoubleClick(POINT at) {
    MoveTo(at);
    Send({MouseInput(at, MOUSEEVENTF_LEFTDOWN), MouseInput(at, MOUSEEVENTF_LEFTUP),
          MouseInput(at, MOUSEEVENTF_LEFTDOWN), MouseInput(at, MOUSEEVENTF_LEFTUP)});
}

void PressKey(WORD virtualKey) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = virtualKey;
    down.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    Send({down, up});
}

// --- Settings file ----------------------------------------------------------------------------

std::optional<std::vector<std::wstring>> ReadLines(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
    }
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                          text.data(), static_cast<int>(text.size()))));
    std::vector<std::wstring> lines;
    std::wistringstream stream(text);
    for (std::wstring line; std::getline(stream, line);) {
        if (line.ends_with(L'\r')) {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

namespace {

std::wstring Trim(const std::wstring& s) {
    const size_t first = s.find_first_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : s.substr(first, s.find_last_not_of(L" \t") - first + 1);
}

} // namespace

std::optional<std::wstring> IniValue(const std::vector<std::wstring>& lines, const std::wstring& section,
                                     const std::wstring& key) {
    bool inSection = false;
    for (const std::wstring& raw : lines) {
        const std::wstring line = Trim(raw);
        if (!line.empty() && line.front() == L'[') {
            inSection = ::_wcsicmp(line.c_str(), (L"[" + section + L"]").c_str()) == 0;
            continue;
        }
        const size_t equals = line.find(L'=');
        if (inSection && equals != std::wstring::npos &&
            ::_wcsicmp(Trim(line.substr(0, equals)).c_str(), key.c_str()) == 0) {
            return Trim(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

// --- Fixture ----------------------------------------------------------------------------------

void Zelmo::SetUp() {
    // The strips of earlier tests (and of other test programs in this Wine prefix) must be gone, or this copy
    // would only hand over to them.
    ASSERT_TRUE(WaitFor([] { return TopLevelWindows(L"TZelmoMain", 0).empty(); }, 5000))
        << "another strip is still running";

    static int serial = 0;
    // The full long path, as the program will see its own.
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    ::GetLongPathNameW(temp, temp, MAX_PATH + 1);
    dir_ = std::wstring(temp) + L"zelmo-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++serial);
    ASSERT_TRUE(::CreateDirectoryW(dir_.c_str(), nullptr)) << "cannot create the test folder";
    exe_ = dir_ + L"\\Zelmo3.exe";
    ini_ = dir_ + L"\\Zelmo3.ini";
    ASSERT_TRUE(::CopyFileW(ProgramPath.c_str(), exe_.c_str(), TRUE)) << "cannot copy the program";
}

void Zelmo::TearDown() {
    for (HANDLE process : processes_) {
        if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 5000);
        }
        ::CloseHandle(process);
    }
    processes_.clear();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(dir_), ignored);
}

HANDLE Zelmo::Launch() {
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(), &startup,
                          &info)) {
        ADD_FAILURE() << "CreateProcessW failed: " << ::GetLastError();
        return nullptr;
    }
    ::CloseHandle(info.hThread);
    processes_.push_back(info.hProcess);
    return info.hProcess;
}

void Zelmo::Start() {
    process_ = Launch();
    ASSERT_NE(process_, nullptr);
    processId_ = ::GetProcessId(process_);
    // The first program in a fresh Wine session waits for the session's own services too.
    ASSERT_TRUE(WaitFor(
        [&] {
            strip_ = ::FindWindowW(L"TZelmoMain", L"ZelmoMain");
            DWORD owner = 0;
            ::GetWindowThreadProcessId(strip_, &owner);
            return strip_ != nullptr && owner == processId_ && ::IsWindowVisible(strip_);
        },
        30000))
        << "the strip did not appear";
    label_ = ::GetDlgItem(strip_, 1);
    app_ = ::GetWindow(strip_, GW_OWNER);
    ASSERT_NE(label_, nullptr);
    // A window manager may place a window of its own accord when it is mapped; the strip's next tick puts it
    // back at its edge. Tests read the geometry once it is there.
    ASSERT_TRUE(WaitFor([&] { return AtTopEdge() || AtBottomEdge(); }, 1500)) << "the strip did not dock";
}

DWORD Zelmo::ExitCodeOf(HANDLE process, DWORD timeoutMs) {
    ::WaitForSingleObject(process, timeoutMs);
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return code;
}

DWORD Zelmo::ExitCode(DWORD timeoutMs) {
    return ExitCodeOf(process_, timeoutMs);
}

RECT Zelmo::StripRect() const {
    RECT r{};
    ::GetWindowRect(strip_, &r);
    return r;
}

bool Zelmo::Topmost() const {
    return (::GetWindowLongPtrW(strip_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool Zelmo::AtTopEdge() const {
    return StripRect().top == WorkArea().top;
}

bool Zelmo::AtBottomEdge() const {
    return StripRect().bottom == WorkArea().bottom;
}

testing::AssertionResult Zelmo::Docked(bool top) const {
    RECT strip{}, label{};
    ::GetWindowRect(strip_, &strip);
    ::GetWindowRect(label_, &label);
    const RECT area = WorkArea();
    if (strip.right - strip.left != label.right - label.left + 2 ||
        strip.bottom - strip.top != label.bottom - label.top + 2) {
        return testing::AssertionFailure() << "the strip is not the label plus its frame";
    }
    const LONG leftMargin = strip.left - area.left, rightMargin = area.right - strip.right;
    const bool againstEdge = top ? strip.top == area.top : strip.bottom == area.bottom;
    if (!againstEdge || leftMargin < 0 || rightMargin < 0 || std::abs(leftMargin - rightMargin) > 1 ||
        strip.top < area.top || strip.bottom > area.bottom) {
        return testing::AssertionFailure() << "strip " << strip.left << "," << strip.top << "-" << strip.right << ","
                                           << strip.bottom << " in work area " << area.left << "," << area.top << "-"
                                           << area.right << "," << area.bottom;
    }
    return testing::AssertionSuccess();
}

ULONGLONG Zelmo::NextTextChange() {
    const std::wstring before = Line();
    return WaitFor([&] { return Line() != before; }, 1500) ? ::GetTickCount64() : 0;
}

HWND Zelmo::OpenMenu(POINT at) {
    RightClick(at);
    HWND menu = nullptr;
    WaitFor([&] { return (menu = VisibleTopLevel(L"#32768", processId_)) != nullptr; }, 3000);
    return menu;
}

std::vector<MenuItem> Zelmo::MenuItems(HWND menuWindow) {
    static const HMODULE probe = ::LoadLibraryW(MenuProbePath.c_str());
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(probe != nullptr ? ::GetProcAddress(probe, "ReadMenuHook") : nullptr));
    const std::wstring file = dir_ + L"\\menu.txt";
    ::DeleteFileW(file.c_str());
    const HHOOK installed = hook != nullptr ? ::SetWindowsHookExW(WH_CALLWNDPROC, hook, probe,
                                                                  ::GetWindowThreadProcessId(menuWindow, nullptr))
                                            : nullptr;
    if (installed == nullptr) {
        ADD_FAILURE() << "cannot hook the strip's thread with " << testing::PrintToString(MenuProbePath);
        return {};
    }
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(menuWindow, ::RegisterWindowMessageW(L"ZelmoE2eReadMenu"), 0, 0, SMTO_NORMAL, 5000, &ignored);
    ::UnhookWindowsHookEx(installed);
    std::vector<MenuItem> items;
    for (const std::wstring& line : ReadLines(file).value_or(std::vector<std::wstring>{})) {
        MenuItem item{};
        int end = 0;
        if (line.empty() || std::swscanf(line.c_str(), L"%d|%x|%x|%ld,%ld,%ld,%ld|%n", &item.depth, &item.type,
                                         &item.state, &item.rect.left, &item.rect.top, &item.rect.right,
                                         &item.rect.bottom, &end) < 7) {
            continue;
        }
        item.caption = line.substr(static_cast<size_t>(end));
        items.push_back(item);
    }
    return items;
}

std::function<void()> Zelmo::MenuItemChooser(HWND menuWindow, WORD accessKey, size_t row) {
    if (CurrentDesktop() != Desktop::WindowManager) {
        return [accessKey] { PressKey(accessKey); };
    }
    // The row counts the submenu's items too, as in the list MenuItems gives.
    const std::vector<MenuItem> items = MenuItems(menuWindow);
    if (row >= items.size() || items[row].depth != 0 || items[row].rect.left >= items[row].rect.right) {
        ADD_FAILURE() << "no rectangle for menu item " << row << " of " << items.size();
        return [] {};
    }
    return [at = Centre(items[row].rect)] { Click(at); };
}

void Zelmo::CloseMenu() {
    if (CurrentDesktop() != Desktop::WindowManager) {
        PressKey(VK_ESCAPE);
        return;
    }
    // A single click on the strip's frame does nothing but end the menu; take the end of the strip that the
    // menu (opened at the pointer, to the right of it) leaves free.
    const RECT strip = StripRect();
    RECT menu{};
    ::GetWindowRect(VisibleTopLevel(L"#32768", processId_), &menu);
    POINT at{strip.left, (strip.top + strip.bottom) / 2};
    if (::PtInRect(&menu, at)) {
        at.x = strip.right - 1;
    }
    Click(at);
}

bool Zelmo::MenuClosed() {
    return WaitFor([&] { return VisibleTopLevel(L"#32768", processId_) == nullptr; }, 2000);
}

HWND Zelmo::WaitForMessageBox() {
    HWND box = nullptr;
    WaitFor([&] { return (box = VisibleTopLevel(L"#32770", processId_)) != nullptr; }, 5000);
    return box;
}

} // namespace e2e
