#include "FakeReadings.h"
#include "status/StatusLine.h"

#include <gtest/gtest.h>

namespace zelmo::test {
namespace {

DisplayOptions AllOff() {
    return DisplayOptions{false, false, false, false, false};
}

std::wstring Compose(FakeReadings& r, const DisplayOptions& o, TDateTime start = 0, const LocaleSeparators& seps = {}) {
    std::wstring line = L"stale text that must vanish";
    ComposeStatusLine(line, o, start, r, seps);
    return line;
}

TEST(StatusLine, ReproducesTheFullExampleLine) {
    FakeReadings r;
    r.Drives[L'C'] = {3, 132555714560, 511440289792};
    r.Drives[L'D'] = {3, 1610612736, 1000202039296};
    r.Drives[L'Z'] = {4, 5000000000, 6000000000};
    r.Memory = {42, 7118794809};
    r.Tick = 273906789;
    const TDateTime start = EncodeLocalDateTime({2024, 10, 27, 8, 5, 3, 500});
    const DisplayOptions options{false, true, true, true, true};
    EXPECT_EQ(Compose(r, options, start),
              L" [C] 123.45GB/476.32GB [D] 1.50GB/931.51GB <58% 6789MB> <2024/10/27 08:05:03> <3日と04:05:06> ");
}

TEST(StatusLine, SegmentCombinations) {
    struct Case {
        const char* Name;
        std::map<wchar_t, FakeDrive> Drives;
        DisplayOptions Options;
        MemoryReading Memory;
        std::uint64_t Tick;
        std::wstring Expected;
    };
    const std::vector<Case> cases = {
        {"nothing at all", {}, AllOff(), {}, 0, L" "},
        {"memory only", {}, {false, false, true, false, false}, {42, 4294967296}, 0, L" <58% 4096MB> "},
        {"empty fixed drive", {{L'C', {3, 0, 0}}}, AllOff(), {}, 0, L" [C] 0.00GB "},
        {"failed queries", {{L'E', {3, -1, -1}}}, {false, true, false, false, false}, {}, 0, L" [E] 0.00GB/0.00GB "},
        {"A comes first",
         {{L'Q', {3, 1073741824, 0}}, {L'A', {3, 536870912, 0}}},
         AllOff(),
         {},
         0,
         L" [A] 0.50GB [Q] 1.00GB "},
        {"remote hidden", {{L'Z', {4, 1073741824, 0}}}, AllOff(), {}, 0, L" "},
        {"remote shown", {{L'Z', {4, 1073741824, 0}}}, {true, false, false, false, false}, {}, 0, L" [Z] 1.00GB "},
        {"removable, optical, RAM disk and unknown never shown",
         {{L'A', {2, 1, 1}}, {L'D', {5, 1, 1}}, {L'R', {6, 1, 1}}, {L'U', {0, 1, 1}}},
         {true, true, false, false, false},
         {},
         0,
         L" "},
        {"uptime 5 s", {}, {false, false, false, false, true}, {}, 5000, L" <00:00:05> "},
        {"uptime one day", {}, {false, false, false, false, true}, {}, 86400000, L" <1日と00:00:00> "},
        {"uptime 100 days 1 s", {}, {false, false, false, false, true}, {}, 8640001000, L" <100日と00:00:01> "},
        {"milliseconds dropped", {}, {false, false, false, false, true}, {}, 86399999, L" <23:59:59> "},
        {"tick beyond 32 bits", {}, {false, false, false, false, true}, {}, 4294968296, L" <49日と17:02:48> "},
        {"all memory free", {}, {false, false, true, false, false}, {0, 1048575}, 0, L" <100% 0MB> "},
    };
    for (const Case& c : cases) {
        FakeReadings r;
        r.Drives = c.Drives;
        r.Memory = c.Memory;
        r.Tick = c.Tick;
        EXPECT_EQ(Compose(r, c.Options), c.Expected) << c.Name;
    }
}

TEST(StatusLine, StartTimeUsesLocaleSeparatorsButUptimeKeepsColons) {
    FakeReadings r;
    r.Tick = 3723000;
    const TDateTime start = EncodeLocalDateTime({2024, 10, 27, 8, 5, 3, 999});
    EXPECT_EQ(Compose(r, {false, false, false, true, true}, start, {L',', L'.', L'.'}),
              L" <2024.10.27 08.05.03> <01:02:03> ");
}

TEST(StatusLine, DecimalSeparatorReachesDriveSizes) {
    FakeReadings r;
    r.Drives[L'C'] = {3, 536870912, 1325598706483};
    EXPECT_EQ(Compose(r, {false, true, false, false, false}, 0, {L',', L'/', L':'}), L" [C] 0,50GB/1234,56GB ");
}

TEST(StatusLine, ReadsInLetterOrderAndOnlyWhatTheOptionsNeed) {
    struct Case {
        const char* Name;
        DisplayOptions Options;
        std::vector<std::wstring> ExpectedAfterTypes; // beyond the 26 type queries, in order
    };
    const std::vector<Case> cases = {
        {"free only", {false, false, false, false, false}, {L"free 3", L"free 4"}},
        {"free and total", {false, true, false, false, false}, {L"free 3", L"total 3", L"free 4", L"total 4"}},
        {"network drive too",
         {true, true, true, true, true},
         {L"free 3", L"total 3", L"free 4", L"total 4", L"free 26", L"total 26", L"memory", L"tick"}},
    };
    for (const Case& c : cases) {
        FakeReadings r;
        r.Drives[L'C'] = {3, 1, 2};
        r.Drives[L'D'] = {3, 1, 2};
        r.Drives[L'Z'] = {4, 1, 2};
        Compose(r, c.Options, 1.0);
        std::vector<std::wstring> types;
        std::vector<std::wstring> others;
        for (const std::wstring& call : r.Calls) {
            (call.rfind(L"type ", 0) == 0 ? types : others).push_back(call);
        }
        ASSERT_EQ(types.size(), 26u) << c.Name;
        for (int i = 0; i < 26; ++i) {
            EXPECT_EQ(types[static_cast<std::size_t>(i)], std::wstring(L"type ") + static_cast<wchar_t>(L'A' + i));
        }
        EXPECT_EQ(others, c.ExpectedAfterTypes) << c.Name;
        // Each space query follows the type query of its own letter.
        const auto typeOfD = std::find(r.Calls.begin(), r.Calls.end(), L"type D");
        const auto freeOfC = std::find(r.Calls.begin(), r.Calls.end(), L"free 3");
        EXPECT_LT(freeOfC - r.Calls.begin(), typeOfD - r.Calls.begin()) << c.Name;
    }
}

TEST(StatusLine, StartDateTimeSubtractsTheWholeTickCount) {
    struct Case {
        DateTimeParts Now;
        std::uint64_t Tick;
        DateTimeParts Expected;
    };
    const Case cases[] = {
        {{2024, 10, 27, 10, 0, 0, 250}, 3600250, {2024, 10, 27, 9, 0, 0, 0}},
        {{2024, 3, 1, 0, 0, 10, 0}, 20000, {2024, 2, 29, 23, 59, 50, 0}},
        // 2^32 + 1000 ms is 49 days 17:02:48.296, not one second.
        {{2024, 10, 27, 10, 0, 0, 0}, 4294968296, {2024, 9, 7, 16, 57, 11, 704}},
    };
    for (const Case& c : cases) {
        FakeReadings r;
        r.Now = EncodeLocalDateTime(c.Now);
        r.Tick = c.Tick;
        const TDateTime start = ComputeStartDateTime(r);
        EXPECT_EQ(DecodeDateTime(start), c.Expected);
        EXPECT_EQ(r.Calls, (std::vector<std::wstring>{L"now", L"tick"}));
    }
}

} // namespace
} // namespace zelmo::test
