#pragma once
// Readings from a table, recording every question in the order asked.
#include "status/Docking.h"
#include "status/SystemReadings.h"

#include <map>
#include <string>
#include <vector>

namespace zelmo::test {

struct FakeDrive {
    std::uint32_t Type = 1; // DRIVE_NO_ROOT_DIR
    std::int64_t Free = 0;
    std::int64_t Total = 0;
};

class FakeReadings : public ISystemReadings {
public:
    std::map<wchar_t, FakeDrive> Drives;
    MemoryReading Memory;
    std::uint64_t Tick = 0;
    TDateTime Now = 0;
    WorkArea Area{0, 0, 1920, 1040};
    std::vector<std::wstring> Calls; // "type A", "free 3", "total 3", "memory", "tick", …

    std::uint32_t QueryDriveType(wchar_t letter) override {
        Calls.push_back(std::wstring(L"type ") + letter);
        const auto it = Drives.find(letter);
        return it == Drives.end() ? 1 : it->second.Type;
    }
    std::int64_t QueryDriveFreeBytes(int number) override {
        Calls.push_back(L"free " + std::to_wstring(number));
        return Drives[static_cast<wchar_t>(number + 64)].Free;
    }
    std::int64_t QueryDriveTotalBytes(int number) override {
        Calls.push_back(L"total " + std::to_wstring(number));
        return Drives[static_cast<wchar_t>(number + 64)].Total;
    }
    MemoryReading QueryMemoryStatus() override {
        Calls.push_back(L"memory");
        return Memory;
    }
    std::uint64_t QueryTickCount() override {
        Calls.push_back(L"tick");
        return Tick;
    }
    TDateTime QueryLocalDateTime() override {
        Calls.push_back(L"now");
        return Now;
    }
    std::int32_t QueryWorkAreaWidth() override { return Area.Width; }
    std::int32_t QueryWorkAreaHeight() override { return Area.Height; }
    std::int32_t QueryWorkAreaLeft() override { return Area.Left; }
    std::int32_t QueryWorkAreaTop() override { return Area.Top; }
};

} // namespace zelmo::test
