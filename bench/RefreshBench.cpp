// One refresh of the real strip (TZelmoMain::UpdateDisplay with Win32Readings) against its floor: the same
// system calls alone, made in the same run. Rounds of N refreshes alternate floor and real; the figures are
// medians over the rounds. Then counts the SetWindowPos calls of docking on refreshes that left the label's
// size as it was. Prints "key=value" lines for scripts/bench; judges nothing.
//
//   zelmo_refresh_bench [refreshes-per-round=100] [rounds=7] [steady-refreshes=1000]
#include "Main.h"
#include "Timing.h"
#include "WindowMoveCounter.h"
#include "ZelmoMainProbe.h"
#include "platform/Readings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace {

using zelmo::TZelmoMainProbe;

using zelmo::bench::Median;
using zelmo::bench::Now;

// What one refresh asks of the system, without composing, measuring or docking anything.
class Floor {
public:
    Floor(bool remoteDrives, bool diskSize, int workAreaQueries)
        : remoteDrives_(remoteDrives), diskSize_(diskSize), workAreaQueries_(workAreaQueries) {}

    void Once() {
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
            const wchar_t root[] = {letter, L':', L'\\', L'\0'};
            const UINT type = ::GetDriveTypeW(root);
            if (type != DRIVE_FIXED && !(remoteDrives_ && type == DRIVE_REMOTE)) {
                continue;
            }
            // Free space and size are separate readings, one query each, as the real code does.
            for (int query = 0; query < (diskSize_ ? 2 : 1); ++query) {
                ULARGE_INTEGER freeToCaller{}, total{};
                ::GetDiskFreeSpaceExW(root, &freeToCaller, &total, nullptr);
                sink_ += freeToCaller.QuadPart + total.QuadPart;
            }
        }
        MEMORYSTATUS memory{};
        memory.dwLength = sizeof(memory);
        ::GlobalMemoryStatus(&memory);
        sink_ += memory.dwAvailPhys + ::GetTickCount64();
        for (int i = 0; i < workAreaQueries_; ++i) {
            RECT area{};
            ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
            sink_ += static_cast<unsigned>(area.right);
        }
    }
    unsigned long long Sink() const { return sink_; }

private:
    bool remoteDrives_;
    bool diskSize_;
    int workAreaQueries_;
    unsigned long long sink_ = 0;
};

int Run(int perRound, int rounds, int steadyRefreshes) {
    zelmo::win::TApplication app(::GetModuleHandleW(nullptr));
    zelmo::win::Win32Readings readings;
    zelmo::TZelmoMain form(app, readings);
    // Only the direct calls below refresh the strip.
    ::KillTimer(form.Handle(), zelmo::ZelmoMainForm::Timer1Id);

    const zelmo::DisplayOptions options = TZelmoMainProbe::Menu(form).Options();
    // The upper position docks without the work area's height: three queries instead of four.
    const bool upper = TZelmoMainProbe::Menu(form).Checked(zelmo::MenuId::UpperPosition1);
    Floor floor(options.CheckRemoteDrive, options.DiskSize, upper ? 3 : 4);

    for (int i = 0; i < 10; ++i) { // warm-up of both
        floor.Once();
        TZelmoMainProbe::UpdateDisplay(form);
    }

    // Within a round floor and refresh alternate call by call, in ABBA order, so that a change of the
    // machine's load falls on both alike.
    const auto timeFloor = [&floor] {
        const double t0 = Now();
        floor.Once();
        return Now() - t0;
    };
    const auto timeRefresh = [&form] {
        const double t0 = Now();
        TZelmoMainProbe::UpdateDisplay(form);
        return Now() - t0;
    };
    std::vector<double> floorUs, realUs, ratios;
    for (int r = 0; r < rounds; ++r) {
        double floorSum = 0, realSum = 0;
        for (int i = 0; i < perRound; ++i) {
            if (i % 2 == 0) {
                floorSum += timeFloor();
                realSum += timeRefresh();
            } else {
                realSum += timeRefresh();
                floorSum += timeFloor();
            }
        }
        const double f = floorSum / perRound * 1e6;
        const double u = realSum / perRound * 1e6;
        std::printf("round %d: floor %.1f us, refresh %.1f us, ratio %.3f\n", r + 1, f, u, u / f);
        floorUs.push_back(f);
        realUs.push_back(u);
        ratios.push_back(u / f);
    }
    std::printf("floor_us_median=%.1f\n", Median(floorUs));
    std::printf("refresh_us_median=%.1f\n", Median(realUs));
    std::printf("refresh_ratio_median=%.3f\n", Median(ratios));

    // Docking moves on refreshes whose label kept its size (the text itself changes every second).
    long steadyMoves = 0, steady = 0, resized = 0, movesOnResize = 0, textChanges = 0;
    const zelmo::test::WindowMoveCounter counter(form.Handle());
    for (int i = 0; i < steadyRefreshes; ++i) {
        const SIZE before = TZelmoMainProbe::LabelSize(form);
        const long movesBefore = counter.Moves();
        const std::wstring textBefore = TZelmoMainProbe::LabelText(form);
        TZelmoMainProbe::UpdateDisplay(form);
        const SIZE after = TZelmoMainProbe::LabelSize(form);
        const long moves = counter.Moves() - movesBefore;
        textChanges += TZelmoMainProbe::LabelText(form) != textBefore ? 1 : 0;
        if (before.cx == after.cx && before.cy == after.cy) {
            ++steady;
            steadyMoves += moves;
        } else {
            ++resized;
            movesOnResize += moves;
        }
    }
    std::printf("steady refreshes %ld (text changed on %ld of %d), SetWindowPos on them %ld; "
                "resized refreshes %ld, SetWindowPos on them %ld\n",
                steady, textChanges, steadyRefreshes, steadyMoves, resized, movesOnResize);
    std::printf("steady_moves_per_refresh=%.4f\n", steady > 0 ? static_cast<double>(steadyMoves) / steady : 0.0);
    std::printf("(floor checksum %llu)\n", floor.Sink() & 0xff);
    return 0;
}

int Arg(int argc, char** argv, int index, int fallback) {
    if (argc <= index) {
        return fallback;
    }
    const int v = std::atoi(argv[index]);
    return v > 0 ? v : fallback;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(Arg(argc, argv, 1, 100), Arg(argc, argv, 2, 7), Arg(argc, argv, 3, 1000));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelmo_refresh_bench: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "zelmo_refresh_bench: unknown error\n");
    }
    return 2;
}
