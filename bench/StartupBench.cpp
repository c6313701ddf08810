// Start-up time: from CreateProcess of a program, copied fresh into a new temporary folder, until its window is
// visible (polled every millisecond), then ended. Three programs take turns, in an order that rotates from round to
// round:
//   Zelmo3.exe,
//   the fair floor (zelmo_floor.exe): the work the design asks for before the strip first shows, without any
//     structure around it; Zelmo3 / floor says what the program adds,
//   the bare popup (zelmo_bare_popup.exe): one window and nothing else; Zelmo3 / bare says what the design costs.
// Each round gives one ratio per comparison; their median is the typical cost, and a slow moment of the machine
// falls into one round instead of into a ratio of two medians. The tail is the ratio of the two programs' own
// 90th percentiles: the 90th percentile of the round ratios is printed too, but it catches whichever program of
// a round had the slow moment, so two equally fast programs already lie well above 1 by Wine's jitter alone.
// Prints "key=value" lines for scripts/bench; judges nothing. Exits non-zero only when a program could not be
// measured.
//
//   zelmo_startup_bench <Zelmo3.exe> <zelmo_floor.exe> <zelmo_bare_popup.exe> [rounds=21]
#include "Launch.h"
#include "Timing.h"
#include "WinProgram.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using zelmo::bench::FreshRun;
using zelmo::bench::Median;
using zelmo::bench::Percentile;
using zelmo::bench::ProgramIdentity;
using zelmo::test::WindowsPath;

constexpr int DefaultRounds = 21;

struct Measured {
    ProgramIdentity Program;
    const char* Key;
    std::vector<double> Ms;
};

std::optional<double> StartOnceMs(const ProgramIdentity& program, int serial) {
    FreshRun run(program, serial);
    const std::optional<double> seconds = run.StartAndWaitVisible();
    run.Terminate();
    return seconds ? std::optional<double>(*seconds * 1000) : std::nullopt;
}

void PrintRatios(const Measured& zelmo, const Measured& other, const std::vector<double>& ratios) {
    std::printf("startup_%s_ratio_median=%.3f\n", other.Key, Median(ratios));
    std::printf("startup_%s_ratio_p90=%.3f\n", other.Key, Percentile(ratios, 0.9));
    std::printf("startup_%s_ratio_of_p90s=%.3f\n", other.Key, Percentile(zelmo.Ms, 0.9) / Percentile(other.Ms, 0.9));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: zelmo_startup_bench <Zelmo3.exe> <zelmo_floor.exe> <zelmo_bare_popup.exe> [rounds=%d]\n",
                     DefaultRounds);
        return 2;
    }
    const int rounds = argc > 4 && std::atoi(argv[4]) > 0 ? std::atoi(argv[4]) : DefaultRounds;
    std::array<Measured, 3> programs = {{
        {{"Zelmo3", WindowsPath(argv[1]), L"TZelmoMain", L"ZelmoMain"}, "zelmo", {}},
        {{"fair floor", WindowsPath(argv[2]), L"ZelmoFloor", L"ZelmoFloor"}, "floor", {}},
        {{"bare popup", WindowsPath(argv[3]), L"ZelmoBarePopup", L"BarePopup"}, "bare", {}},
    }};
    Measured& zelmo = programs[0];
    Measured& floor = programs[1];
    Measured& bare = programs[2];

    int serial = 0;
    // One start of each that is not counted: the first load of a program file costs more under any system.
    for (const Measured& p : programs) {
        if (!StartOnceMs(p.Program, ++serial)) {
            return 1;
        }
    }
    std::vector<double> floorRatios, bareRatios;
    for (int r = 0; r < rounds; ++r) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Measured& p = programs[(i + static_cast<std::size_t>(r)) % programs.size()];
            const std::optional<double> ms = StartOnceMs(p.Program, ++serial);
            if (!ms) {
                return 1;
            }
            p.Ms.push_back(*ms);
        }
        floorRatios.push_back(zelmo.Ms.back() / floor.Ms.back());
        bareRatios.push_back(zelmo.Ms.back() / bare.Ms.back());
        std::printf("round %2d: Zelmo3 %6.1f ms, floor %6.1f ms, bare %6.1f ms; Zelmo3/floor %.3f, Zelmo3/bare %.3f\n",
                    r + 1, zelmo.Ms.back(), floor.Ms.back(), bare.Ms.back(), floorRatios.back(), bareRatios.back());
        std::fflush(stdout);
    }
    std::printf("startup_rounds=%d\n", rounds);
    for (const Measured& p : programs) {
        std::printf("startup_%s_ms_median=%.1f\n", p.Key, Median(p.Ms));
        std::printf("startup_%s_ms_p90=%.1f\n", p.Key, Percentile(p.Ms, 0.9));
        std::printf("startup_%s_ms_max=%.1f\n", p.Key, Percentile(p.Ms, 1.0));
    }
    PrintRatios(zelmo, floor, floorRatios);
    PrintRatios(zelmo, bare, bareRatios);
    return 0;
}
