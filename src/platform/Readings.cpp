#include "Readings.h"

#include <windows.h>

namespace zelmo::win {
namespace {

using GetDiskFreeSpaceExWProc = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// Looked up by name at the first space query and kept for the life of the process.
GetDiskFreeSpaceExWProc DiskFreeSpaceEx() noexcept {
    static const auto proc = [] {
        const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
        return kernel == nullptr ? nullptr
                                 : reinterpret_cast<GetDiskFreeSpaceExWProc>(
                                       reinterpret_cast<void*>(::GetProcAddress(kernel, "GetDiskFreeSpaceExW")));
    }();
    return proc;
}

struct SpaceReading {
    std::int64_t FreeToCaller = -1;
    std::int64_t Total = -1;
};

// The root path is formed again from the drive number (number + 64 gives the letter back).
SpaceReading QuerySpace(int driveNumber) noexcept {
    const wchar_t root[] = {static_cast<wchar_t>(driveNumber + 64), L':', L'\\', L'\0'};
    ULARGE_INTEGER freeToCaller{};
    ULARGE_INTEGER total{};
    const GetDiskFreeSpaceExWProc proc = DiskFreeSpaceEx();
    if (proc == nullptr || !proc(root, &freeToCaller, &total, nullptr)) {
        return {};
    }
    return {static_cast<std::int64_t>(freeToCaller.QuadPart), static_cast<std::int64_t>(total.QuadPart)};
}

RECT WorkAreaRect() noexcept {
    RECT rect{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
    return rect;
}

} // namespace

std::uint32_t Win32Readings::QueryDriveType(wchar_t letter) {
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    return ::GetDriveTypeW(root);
}

std::int64_t Win32Readings::QueryDriveFreeBytes(int driveNumber) {
    return QuerySpace(driveNumber).FreeToCaller;
}

std::int64_t Win32Readings::QueryDriveTotalBytes(int driveNumber) {
    return QuerySpace(driveNumber).Total;
}

MemoryReading Win32Readings::QueryMemoryStatus() {
    MEMORYSTATUS status{};
    static_assert(sizeof(MEMORYSTATUS) == 56, "a 64-bit MEMORYSTATUS carries 64-bit byte counts");
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatus(&status);
    return {status.dwMemoryLoad, static_cast<std::uint64_t>(status.dwAvailPhys)};
}

std::uint64_t Win32Readings::QueryTickCount() {
    return ::GetTickCount64();
}

TDateTime Win32Readings::QueryLocalDateTime() {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return EncodeLocalDateTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

std::int32_t Win32Readings::QueryWorkAreaWidth() {
    const RECT r = WorkAreaRect();
    return r.right - r.left;
}

std::int32_t Win32Readings::QueryWorkAreaHeight() {
    const RECT r = WorkAreaRect();
    return r.bottom - r.top;
}

std::int32_t Win32Readings::QueryWorkAreaLeft() {
    return WorkAreaRect().left;
}

std::int32_t Win32Readings::QueryWorkAreaTop() {
    return WorkAreaRect().top;
}

} // namespace zelmo::win
