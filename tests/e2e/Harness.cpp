#include "Harness.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace e2e {

std::wstring ProgramPath, MenuProbePath;

const wchar_t* const SettingKeys[7] = {L"CheckRemoteDrive", L"DiskSize",  L"LowerPosition", L"StayOnTop",
                                       L"MemoryState",      L"StartTime", L"TickCount"};

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) {
            return true;
        }
        if (::GetTickCount64() >= end) {
            return false;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
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

// --- Status line ------------------------------------------------------------------------------

bool HasShape(const std::wstring& line, const LineShape& shape) {
    std::wstring pattern = L"( \\[[A-Z]\\] \\d+\\.\\d\\dGB";
    if (shape.totals) {
        pattern += L"/\\d+\\.\\d\\dGB";
    }
    pattern += L")+ ";
    if (shape.memory) {
        pattern += L"<\\d{1,3}% \\d+MB> ";
    }
    if (shape.startTime) {
        pattern += L"<\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d> ";
    }
    if (shape.uptime) {
        pattern += L"<(\\d+日と)?\\d\\d:\\d\\d:\\d\\d> ";
    }
    return std::regex_match(line, std::wregex(pattern));
}

std::optional<long long> UptimeSeconds(const std::wstring& line) {
    static const std::wregex uptime(L"<(?:(\\d+)日と)?(\\d\\d):(\\d\\d):(\\d\\d)> $");
    std::wsmatch m;
    if (!std::regex_search(line, m, uptime)) {
        return std::nullopt;
    }
    const long long days = m[1].matched ? std::stoll(m[1].str()) : 0;
    return ((days * 24 + std::stoll(m[2].str())) * 60 + std::stoll(m[3].str())) * 60 + std::stoll(m[4].str());
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
        if (line.empty() ||
            std::swscanf(line.c_str(), L"%d|%x|%x|%n", &item.depth, &item.type, &item.state, &end) < 3) {
            continue;
        }
        item.caption = line.substr(static_cast<size_t>(end));
        items.push_back(item);
    }
    return items;
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
