// Start-up time: from CreateProcess of a program, copied fresh into a new temporary folder, until its window
// (found by class and caption, owned by the new process) is visible; polled every millisecond. Zelmo3.exe and
// the bare popup program alternate; each is closed with WM_CLOSE after the measurement. Prints "key=value"
// lines for scripts/bench; judges nothing. Exits non-zero only when a program could not be measured.
//
//   zelmo_startup_bench <Zelmo3.exe> <zelmo_bare_popup.exe> [runs=7]
#include "Timing.h"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Program {
    const char* Label;
    std::wstring Source;   // the exe to copy
    std::wstring FileName; // its name in the temporary folder
    const wchar_t* Class;
    const wchar_t* Caption;
    std::vector<double> Ms;
};

using zelmo::bench::Median;
using zelmo::bench::Now;

std::wstring Widen(const char* s) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The visible window of the class and caption that belongs to the process, if any.
HWND VisibleWindowOf(const Program& program, DWORD processId) {
    HWND hwnd = nullptr;
    while ((hwnd = ::FindWindowExW(nullptr, hwnd, program.Class, program.Caption)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == processId && ::IsWindowVisible(hwnd)) {
            return hwnd;
        }
    }
    return nullptr;
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            }
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// One start in a fresh folder; the time in ms, or nothing when the program did not show its window.
std::optional<double> StartOnce(const Program& program, int serial) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zelmo-startup-" + std::to_wstring(::GetCurrentProcessId()) +
                                L"-" + std::to_wstring(serial);
    RemoveFolder(folder);
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
        std::fprintf(stderr, "cannot create the folder for run %d (error %lu)\n", serial, ::GetLastError());
        return std::nullopt;
    }
    const std::wstring exe = folder + L"\\" + program.FileName;
    if (!::CopyFileW(program.Source.c_str(), exe.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s (error %lu)\n", program.Label, ::GetLastError());
        RemoveFolder(folder);
        return std::nullopt;
    }

    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double t0 = Now();
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                          &pi)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program.Label, ::GetLastError());
        RemoveFolder(folder);
        return std::nullopt;
    }
    HWND hwnd = nullptr;
    double elapsed = 0;
    while ((hwnd = VisibleWindowOf(program, pi.dwProcessId)) == nullptr) {
        elapsed = Now() - t0;
        if (elapsed > 30 || ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            break;
        }
        ::Sleep(1);
    }
    elapsed = Now() - t0;

    if (hwnd != nullptr) {
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s did not end within 10 s of WM_CLOSE; terminated\n", program.Label);
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, 5000);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    RemoveFolder(folder);
    if (hwnd == nullptr) {
        std::fprintf(stderr, "%s showed no window within %.1f s\n", program.Label, elapsed);
        return std::nullopt;
    }
    return elapsed * 1000;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zelmo_startup_bench <Zelmo3.exe> <zelmo_bare_popup.exe> [runs=7]\n");
        return 2;
    }
    const int runs = argc > 3 && std::atoi(argv[3]) > 0 ? std::atoi(argv[3]) : 7;
    Program zelmo{"Zelmo3", Widen(argv[1]), L"", L"TZelmoMain", L"ZelmoMain", {}};
    Program bare{"bare popup", Widen(argv[2]), L"", L"ZelmoBarePopup", L"BarePopup", {}};
    zelmo.FileName = FileNameOf(zelmo.Source);
    bare.FileName = FileNameOf(bare.Source);

    int serial = 0;
    // One start of each that is not counted: the first load of a program file costs more under any system.
    for (Program* p : {&bare, &zelmo}) {
        if (!StartOnce(*p, ++serial)) {
            return 1;
        }
    }
    for (int r = 0; r < runs; ++r) {
        for (Program* p : {&bare, &zelmo}) {
            const std::optional<double> ms = StartOnce(*p, ++serial);
            if (!ms) {
                return 1;
            }
            p->Ms.push_back(*ms);
        }
        std::printf("run %d: bare popup %.1f ms, Zelmo3 %.1f ms\n", r + 1, bare.Ms.back(), zelmo.Ms.back());
    }
    const double z = Median(zelmo.Ms), b = Median(bare.Ms);
    std::printf("startup_bare_ms_median=%.1f\n", b);
    std::printf("startup_zelmo_ms_median=%.1f\n", z);
    std::printf("startup_ratio=%.3f\n", z / b);
    return 0;
}
