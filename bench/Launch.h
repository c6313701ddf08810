#pragma once
// Starting a program the way a user does, from a fresh copy: the exe is copied into a new temporary folder (so
// no settings file of an earlier run lies beside it), started, and watched until its top-level window (found
// by class and caption, owned by the new process) is visible; the caller then looks at it and closes it.
#include "Timing.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace zelmo::bench {

struct ProgramIdentity {
    const char* Label;
    std::wstring Source; // the exe to copy
    const wchar_t* Class;
    const wchar_t* Caption;
};

inline std::wstring TempFolder() {
    const DWORD n = ::GetTempPathW(0, nullptr);
    std::wstring path(n, L'\0');
    path.resize(::GetTempPathW(n, path.data()));
    return path;
}

// The visible top-level window of the class and caption that belongs to the process, if any.
inline HWND VisibleWindowOf(const ProgramIdentity& program, DWORD processId) {
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

// One run of a program in a folder of its own; the folder and the process go with the object.
class FreshRun {
public:
    FreshRun(const ProgramIdentity& program, int serial) : program_(program) {
        folder_ =
            TempFolder() + L"zelmo-run-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(serial);
        RemoveFolder();
        if (!::CreateDirectoryW(folder_.c_str(), nullptr)) {
            std::fprintf(stderr, "cannot create the folder for run %d (error %lu)\n", serial, ::GetLastError());
            return;
        }
        const std::size_t slash = program.Source.find_last_of(L"\\/");
        exe_ = folder_ + L"\\" + (slash == std::wstring::npos ? program.Source : program.Source.substr(slash + 1));
        if (!::CopyFileW(program.Source.c_str(), exe_.c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy %s (error %lu)\n", program.Label, ::GetLastError());
            exe_.clear();
        }
    }
    FreshRun(const FreshRun&) = delete;
    FreshRun& operator=(const FreshRun&) = delete;
    ~FreshRun() {
        Close();
        RemoveFolder();
    }

    // Starts the program and waits until its window is visible, polling every millisecond; the seconds from
    // CreateProcess to the first poll that saw the window, or nothing when it showed none within 30 s.
    std::optional<double> StartAndWaitVisible() {
        if (exe_.empty()) {
            return std::nullopt;
        }
        std::wstring commandLine = L"\"" + exe_ + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        const double t0 = Now();
        if (!::CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                              &si, &process_)) {
            std::fprintf(stderr, "cannot start %s (error %lu)\n", program_.Label, ::GetLastError());
            return std::nullopt;
        }
        double elapsed = 0;
        while ((window_ = VisibleWindowOf(program_, process_.dwProcessId)) == nullptr) {
            elapsed = Now() - t0;
            if (elapsed > 30 || ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
                std::fprintf(stderr, "%s showed no window within %.1f s\n", program_.Label, elapsed);
                return std::nullopt;
            }
            ::Sleep(1);
        }
        return Now() - t0;
    }

    HWND Window() const { return window_; }

    // WM_CLOSE, as the user's close request; terminated when it does not end within 10 s.
    void Close() { End(true); }

    // Ends the process at once. Under Wine on a screen without a window manager, destroying a visible window
    // waits 2 s for a withdrawn state that never comes; a measurement that only needs the next start soon
    // (so that a moment of load falls on the starts of one round alike) ends the program instead.
    void Terminate() { End(false); }

private:
    void End(bool closeRequest) {
        if (process_.hProcess == nullptr) {
            return;
        }
        if (closeRequest && window_ != nullptr) {
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        if (!closeRequest || ::WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
            if (closeRequest) {
                std::fprintf(stderr, "%s did not end within 10 s of WM_CLOSE; terminated\n", program_.Label);
            }
            ::TerminateProcess(process_.hProcess, 1);
            ::WaitForSingleObject(process_.hProcess, 5000);
        }
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
        process_ = {};
        window_ = nullptr;
    }

    void RemoveFolder() const {
        WIN32_FIND_DATAW found{};
        const HANDLE find = ::FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    ::DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
                }
            } while (::FindNextFileW(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(folder_.c_str());
    }

    const ProgramIdentity& program_;
    std::wstring folder_;
    std::wstring exe_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

} // namespace zelmo::bench
