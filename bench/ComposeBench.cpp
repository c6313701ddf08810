// Composing the status line from readings that cost nothing: the time per line, and the heap allocations
// per line once the line's buffer is warmed up (counted by the replaced global operator new below).
#include "status/StatusLine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

// GCC pairs the replaced operators below with the library's new and delete after inlining, and takes the
// free() of a pointer from "operator new" for a mismatch; here both sides are malloc and free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

std::uint64_t g_allocations = 0; // the benchmark runs on one thread

} // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace zelmo;

// The example machine: fixed drives C and D, a network drive Z, every other letter without a root.
class ExampleReadings final : public ISystemReadings {
public:
    std::uint32_t QueryDriveType(wchar_t letter) override {
        switch (letter) {
        case L'C':
        case L'D':
            return DRIVE_TYPE_FIXED;
        case L'Z':
            return DRIVE_TYPE_REMOTE;
        default:
            return 1;
        }
    }
    std::int64_t QueryDriveFreeBytes(int driveNumber) override {
        return driveNumber == 3 ? 132555714560 : driveNumber == 4 ? 1610612736 : -1;
    }
    std::int64_t QueryDriveTotalBytes(int driveNumber) override {
        return driveNumber == 3 ? 511440289792 : driveNumber == 4 ? 1000202039296 : -1;
    }
    MemoryReading QueryMemoryStatus() override { return {42, 7118794809}; }
    std::uint64_t QueryTickCount() override { return 273906789; }
    TDateTime QueryLocalDateTime() override { return 0; }
    std::int32_t QueryWorkAreaWidth() override { return 1920; }
    std::int32_t QueryWorkAreaHeight() override { return 1040; }
    std::int32_t QueryWorkAreaLeft() override { return 0; }
    std::int32_t QueryWorkAreaTop() override { return 0; }
};

constexpr wchar_t ExampleLine[] =
    L" [C] 123.45GB/476.32GB [D] 1.50GB/931.51GB <58% 6789MB> <2024/10/27 08:05:03> <3日と04:05:06> ";

void BM_ComposeExampleLine(benchmark::State& state) {
    ExampleReadings readings;
    const DisplayOptions options{false, true, true, true, true};
    const TDateTime start = EncodeLocalDateTime({2024, 10, 27, 8, 5, 3, 500});
    const LocaleSeparators seps{L'.', L'/', L':'};
    std::wstring line;
    ComposeStatusLine(line, options, start, readings, seps); // warms the buffer up
    if (line != ExampleLine) {
        state.SkipWithError("the composed line differs from the example line");
        return;
    }
    const std::uint64_t before = g_allocations;
    for (auto _ : state) {
        ComposeStatusLine(line, options, start, readings, seps);
        benchmark::DoNotOptimize(line.data());
        benchmark::ClobberMemory();
    }
    const std::uint64_t allocations = g_allocations - before;
    state.counters["allocs_per_line"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ComposeExampleLine);

} // namespace

BENCHMARK_MAIN();
