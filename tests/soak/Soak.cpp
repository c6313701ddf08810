// Soak: the real strip, shown, refreshed N times back to back by direct calls (its timer is stopped), with the
// messages those refreshes cause (paints) dispatched after each one, and the context menu rebuilt every 500
// refreshes as each opening of it does. Between refresh 1,000 and refresh N, private bytes, GDI objects (fonts
// among them), USER objects (menus among them) and kernel handles may grow by the limits of
// bench/targets.json at most (the build passes them in), and the popup menu stays the same menu with the
// same items.
// Exit status: 0 all held, 1 something grew or broke, 2 the soak could not run.
//
//   zelmo_soak [refreshes=10000]
//
// Where the system does not give a figure (Wine 8: GetGuiResources is not implemented, PrivateUsage and
// GetProcessHandleCount read 0), it is counted another way, said so in the output, and the way is checked
// first with an object created and freed on purpose; a figure that cannot be counted is reported as such.
#include "Main.h"
#include "ZelmoMainProbe.h"
#include "platform/Readings.h"

#include <psapi.h>
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

using zelmo::TZelmoMainProbe;

constexpr int BaselineRefresh = 1000;
constexpr long long AllowedPrivateGrowth = ZELMO_SOAK_PRIVATE_GROWTH_LIMIT;
constexpr long AllowedGdiGrowth = ZELMO_SOAK_GDI_GROWTH_LIMIT;
constexpr long AllowedUserGrowth = ZELMO_SOAK_USER_GROWTH_LIMIT;
constexpr long AllowedHandleGrowth = ZELMO_SOAK_HANDLE_GROWTH_LIMIT;
constexpr int MenuRebuildInterval = 500;

// --- Private bytes -------------------------------------------------------------------------------

long long PrivateUsage() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters))) {
        return 0;
    }
    return static_cast<long long>(counters.PrivateUsage);
}

// Committed private pages of the whole address space: what PrivateUsage counts.
long long CommittedPrivatePages() {
    long long total = 0;
    MEMORY_BASIC_INFORMATION info{};
    const unsigned char* address = nullptr;
    while (::VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) {
            total += static_cast<long long>(info.RegionSize);
        }
        const unsigned char* next = static_cast<const unsigned char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return total;
}

// --- GDI objects -----------------------------------------------------------------------------------

// The process's GDI handle table (PEB GdiSharedHandleTable): one 24-byte entry per handle index, its type
// byte at offset 14 and zero when the entry is free. Wine keeps it per process.
struct GdiTable {
    const unsigned char* Entries = nullptr;

    static GdiTable Find() {
#if defined(_WIN64)
        PROCESS_BASIC_INFORMATION info{};
        ULONG length = 0;
        if (::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), &length) !=
                0 ||
            info.PebBaseAddress == nullptr) {
            return {};
        }
        const auto* peb = reinterpret_cast<const unsigned char*>(info.PebBaseAddress);
        return {*reinterpret_cast<const unsigned char* const*>(peb + 0xF8)};
#else
        return {};
#endif
    }
    unsigned char TypeOf(HGDIOBJ object) const {
        return Entries[static_cast<std::size_t>(LOWORD(reinterpret_cast<ULONG_PTR>(object))) * 24 + 14];
    }
    long Count(int type = -1) const {
        long n = 0;
        for (std::size_t i = 0; i < 0x10000; ++i) {
            const unsigned char t = Entries[i * 24 + 14];
            n += t != 0 && (type < 0 || t == type) ? 1 : 0;
        }
        return n;
    }
};

// --- USER objects and kernel handles by probing ------------------------------------------------------

// Menus of this process and windows of this process among the 16-bit USER handle values (Wine matches a
// handle given without its upper word to the live object of that index).
long ProbeUserObjects() {
    const DWORD self = ::GetCurrentProcessId();
    long n = 0;
    for (ULONG_PTR h = 0x20; h < 0x10000; h += 2) {
        if (::IsMenu(reinterpret_cast<HMENU>(h))) {
            ++n;
        } else if (::IsWindow(reinterpret_cast<HWND>(h))) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(reinterpret_cast<HWND>(h), &owner);
            n += owner == self ? 1 : 0;
        }
    }
    return n;
}

long ProbeKernelHandles() {
    long n = 0;
    for (ULONG_PTR h = 4; h < 0x10000; h += 4) {
        DWORD flags = 0;
        n += ::GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) ? 1 : 0;
    }
    return n;
}

// --- The counters and where each comes from ----------------------------------------------------------

struct Figures {
    long long PrivateBytes = 0;
    long Gdi = -1; // -1: not counted
    long Fonts = -1;
    long User = -1;
    long Handles = -1;
};

class Counters {
public:
    Counters() {
        // Private bytes.
        usePrivateUsage_ = PrivateUsage() > 0;
        std::printf("private bytes: %s\n", usePrivateUsage_ ? "PrivateUsage (GetProcessMemoryInfo)"
                                                            : "PrivateUsage reads 0 here; committed private pages "
                                                              "counted with VirtualQuery instead");
        // GDI objects.
        if (::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS) > 0) {
            gdi_ = GdiWay::GuiResources;
            std::printf("GDI objects: GetGuiResources\n");
        } else {
            std::printf("GDI objects: GetGuiResources gives 0 here (error %lu); ", ::GetLastError());
            table_ = GdiTable::Find();
            if (table_.Entries != nullptr && CheckGdiTable()) {
                gdi_ = GdiWay::Table;
                std::printf("counted in the process's GDI handle table instead (fonts apart: type 0x%02x)\n",
                            static_cast<unsigned>(fontType_));
            } else {
                std::printf("the GDI handle table does not track objects either: NOT COUNTED\n");
            }
        }
        // USER objects.
        if (::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS) > 0) {
            user_ = UserWay::GuiResources;
            std::printf("USER objects: GetGuiResources\n");
        } else {
            std::printf("USER objects: GetGuiResources gives 0 here; ");
            const long before = ProbeUserObjects();
            const HMENU menu = ::CreatePopupMenu();
            const long with = ProbeUserObjects();
            ::DestroyMenu(menu);
            if (with == before + 1) {
                user_ = UserWay::Probe;
                std::printf("menus and windows of the process counted by probing USER handle values instead\n");
            } else {
                std::printf("probing USER handle values does not see a new menu: NOT COUNTED\n");
            }
        }
        // Kernel handles.
        DWORD count = 0;
        if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) {
            handles_ = HandleWay::Count;
            std::printf("kernel handles: GetProcessHandleCount\n");
        } else {
            std::printf("kernel handles: GetProcessHandleCount gives 0 here; ");
            const long before = ProbeKernelHandles();
            const HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
            const long with = ProbeKernelHandles();
            ::CloseHandle(event);
            if (event != nullptr && with == before + 1) {
                handles_ = HandleWay::Probe;
                std::printf("counted by probing handle values with GetHandleInformation instead\n");
            } else {
                std::printf("probing handle values does not see a new event: NOT COUNTED\n");
            }
        }
    }

    Figures Take() const {
        Figures f;
        f.PrivateBytes = usePrivateUsage_ ? PrivateUsage() : CommittedPrivatePages();
        if (gdi_ == GdiWay::GuiResources) {
            f.Gdi = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
        } else if (gdi_ == GdiWay::Table) {
            f.Gdi = table_.Count();
            f.Fonts = table_.Count(fontType_);
        }
        if (user_ == UserWay::GuiResources) {
            f.User = static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
        } else if (user_ == UserWay::Probe) {
            f.User = ProbeUserObjects();
        }
        if (handles_ == HandleWay::Count) {
            DWORD count = 0;
            ::GetProcessHandleCount(::GetCurrentProcess(), &count);
            f.Handles = static_cast<long>(count);
        } else if (handles_ == HandleWay::Probe) {
            f.Handles = ProbeKernelHandles();
        }
        return f;
    }

private:
    // A brush and a font made and deleted must show in the table as one more object each, then none.
    bool CheckGdiTable() {
        const long before = table_.Count();
        const HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
        const HFONT font =
            ::CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
        const long with = table_.Count();
        fontType_ = font != nullptr ? table_.TypeOf(font) : 0;
        const bool brushSeen = brush != nullptr && table_.TypeOf(brush) != 0;
        ::DeleteObject(brush);
        ::DeleteObject(font);
        return brushSeen && fontType_ != 0 && with == before + 2 && table_.Count() == before;
    }

    enum class GdiWay { None, GuiResources, Table } gdi_ = GdiWay::None;
    enum class UserWay { None, GuiResources, Probe } user_ = UserWay::None;
    enum class HandleWay { None, Count, Probe } handles_ = HandleWay::None;
    bool usePrivateUsage_ = false;
    GdiTable table_;
    unsigned char fontType_ = 0;
};

void PumpMessages() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Compares a counted figure; an uncounted one is reported and does not fail.
bool Level(const char* name, long atBaseline, long atEnd, int refreshes, long allowedGrowth) {
    if (atBaseline < 0) {
        std::printf("%-15s not counted here\n", name);
        return true;
    }
    const bool level = atEnd - atBaseline <= allowedGrowth;
    std::printf("%-15s %ld at refresh %d, %ld at refresh %d: %+ld %s\n", name, atBaseline, BaselineRefresh, atEnd,
                refreshes, atEnd - atBaseline, level ? "(level)" : "GREW");
    return level;
}

int Soak(int refreshes) {
    if (refreshes < BaselineRefresh) {
        std::fprintf(stderr, "zelmo_soak: needs at least %d refreshes\n", BaselineRefresh);
        return 2;
    }
    zelmo::win::TApplication app(::GetModuleHandleW(nullptr));
    zelmo::win::Win32Readings readings;
    zelmo::TZelmoMain form(app, readings);
    ::KillTimer(form.Handle(), zelmo::ZelmoMainForm::Timer1Id); // only the calls below refresh
    form.Show();
    PumpMessages();
    const Counters counters;

    const HMENU popup = TZelmoMainProbe::Popup(form);
    const int fontHeight = TZelmoMainProbe::LabelFontHeight(form);
    Figures baseline;
    int baselineMenuItems = -1;
    LARGE_INTEGER frequency{}, t0{}, t1{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&t0);
    for (int i = 1; i <= refreshes; ++i) {
        TZelmoMainProbe::UpdateDisplay(form);
        PumpMessages();
        if (i % MenuRebuildInterval == 0) {
            TZelmoMainProbe::RebuildPopupMenu(form);
        }
        if (i == BaselineRefresh) {
            baseline = counters.Take();
            baselineMenuItems = ::GetMenuItemCount(popup);
        }
        if (i % 10000 == 0) {
            std::printf("%d refreshes\n", i);
            std::fflush(stdout);
        }
    }
    ::QueryPerformanceCounter(&t1);
    const Figures end = counters.Take();
    const double seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("%d refreshes in %.1f s (%.2f ms each); line: \"%ls\"\n", refreshes, seconds,
                seconds * 1000 / refreshes, TZelmoMainProbe::LabelText(form).c_str());

    bool ok = true;
    const long long growth = end.PrivateBytes - baseline.PrivateBytes;
    const bool memoryOk = growth <= AllowedPrivateGrowth;
    std::printf("%-15s %lld at refresh %d, %lld at refresh %d: %+lld bytes %s %lld bytes%s\n", "private bytes",
                baseline.PrivateBytes, BaselineRefresh, end.PrivateBytes, refreshes, growth,
                memoryOk ? "(within" : "GREW MORE THAN", AllowedPrivateGrowth, memoryOk ? ")" : "");
    ok = memoryOk && ok;
    ok = Level("GDI objects", baseline.Gdi, end.Gdi, refreshes, AllowedGdiGrowth) && ok;
    ok = Level("  of them fonts", baseline.Fonts, end.Fonts, refreshes, AllowedGdiGrowth) && ok;
    ok = Level("USER objects", baseline.User, end.User, refreshes, AllowedUserGrowth) && ok;
    ok = Level("kernel handles", baseline.Handles, end.Handles, refreshes, AllowedHandleGrowth) && ok;

    const int menuItems = ::GetMenuItemCount(popup);
    const bool menuOk =
        TZelmoMainProbe::Popup(form) == popup && ::IsMenu(popup) && menuItems == baselineMenuItems && menuItems > 0;
    std::printf("%-15s same handle %s, %d items at refresh %d, %d at the end %s\n", "popup menu",
                TZelmoMainProbe::Popup(form) == popup ? "yes" : "NO", baselineMenuItems, BaselineRefresh, menuItems,
                menuOk ? "(kept)" : "CHANGED");
    const bool fontOk = TZelmoMainProbe::LabelFontHeight(form) == fontHeight;
    std::printf("%-15s height %d at the start, %d at the end\n", "label font", fontHeight,
                TZelmoMainProbe::LabelFontHeight(form));
    ok = menuOk && fontOk && ok;

    // Figures for scripts/bench (-1: not counted).
    std::printf("soak_refreshes=%d\n", refreshes);
    std::printf("soak_private_growth_bytes=%lld\n", growth);
    std::printf("soak_gdi_growth=%ld\n", baseline.Gdi < 0 ? -1 : end.Gdi - baseline.Gdi);
    std::printf("soak_user_growth=%ld\n", baseline.User < 0 ? -1 : end.User - baseline.User);
    std::printf("soak_handle_growth=%ld\n", baseline.Handles < 0 ? -1 : end.Handles - baseline.Handles);
    std::printf("soak_menu_kept=%d\n", menuOk ? 1 : 0);
    std::printf("%s\n", ok ? "soak: everything stayed level" : "soak: FAILED");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const int refreshes = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 10000;
    try {
        return Soak(refreshes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelmo_soak: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "zelmo_soak: unknown error\n");
    }
    return 2;
}
