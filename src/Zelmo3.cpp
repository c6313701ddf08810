// Entry point: one copy per logon session; a second start hands the user over to the running strip.
#include "Main.h"
#include "platform/Application.h"
#include "platform/ErrorDisplay.h"
#include "platform/Module.h"
#include "platform/Readings.h"
#include "status/AppText.h"

#include <windows.h>

namespace {

constexpr wchar_t MutexName[] = L"ZelmoMain_MutexName";

// Held for the whole life of the process and deliberately never closed: the system releases the mutex and
// closes the handle when the process ends, so no clean-up can give it up while the strip still runs.
HANDLE InstanceMutex = nullptr;
HWND FoundWindow = nullptr;

// The start-up failure box: kind of error, module, address inside the module, message.
int ReportStartupFailure() noexcept {
    const zelmo::win::CaughtError error = zelmo::win::DescribeCurrentException();
    try {
        const void* address = error.Address;
        if (address == nullptr) {
            void* frame[1] = {};
            ::RtlCaptureStackBackTrace(0, 1, frame, nullptr);
            address = frame[0];
        }
        HMODULE module = nullptr;
        if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                  static_cast<LPCWSTR>(address), &module)) {
            module = ::GetModuleHandleW(nullptr);
        }
        const std::wstring modulePath = zelmo::win::ModuleFileName(module);
        const auto offset = reinterpret_cast<std::uintptr_t>(address) - reinterpret_cast<std::uintptr_t>(module);
        const std::wstring text =
            zelmo::StartupErrorText(error.Kind, zelmo::FileNameOfPath(modulePath), offset, error.Message);
        // The title is a literal, so its view ends in a terminating zero.
        ::MessageBoxW(nullptr, text.c_str(), zelmo::StartupErrorTitle.data(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    } catch (...) {
        ::MessageBoxW(nullptr, error.Message.c_str(), zelmo::StartupErrorTitle.data(),
                      MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
    return 1;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        zelmo::win::TApplication application(instance);

        InstanceMutex = ::CreateMutexW(nullptr, FALSE, MutexName);
        if (::WaitForSingleObject(InstanceMutex, 0) == WAIT_TIMEOUT) {
            // Another copy runs: bring its strip to the front and end.
            FoundWindow = ::FindWindowW(zelmo::ZelmoMainForm::ClassName, zelmo::ZelmoMainForm::Caption);
            if (FoundWindow != nullptr) {
                ::SetForegroundWindow(FoundWindow);
            }
            return 0;
        }

        zelmo::win::Win32Readings readings;
        zelmo::TZelmoMain zelmoMain(application, readings);
        application.Run();
        return 0;
    } catch (...) {
        return ReportStartupFailure();
    }
}
