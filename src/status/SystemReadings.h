#pragma once
// What the status line and the docking ask of the system: plain values from fresh synchronous calls.
#include "DateTime.h"

#include <cstdint>

namespace zelmo {

constexpr std::uint32_t DRIVE_TYPE_FIXED = 3;
constexpr std::uint32_t DRIVE_TYPE_REMOTE = 4;

struct MemoryReading {
    std::uint32_t MemoryLoad = 0; // percent of physical memory in use
    std::uint64_t AvailPhys = 0;  // bytes
};

// Everything the line and the docking ask of the system; each call is a fresh reading.
class ISystemReadings {
public:
    virtual ~ISystemReadings() = default;
    virtual std::uint32_t QueryDriveType(wchar_t letter) = 0;
    virtual std::int64_t QueryDriveFreeBytes(int driveNumber) = 0;  // -1 when the query failed
    virtual std::int64_t QueryDriveTotalBytes(int driveNumber) = 0; // -1 when the query failed
    virtual MemoryReading QueryMemoryStatus() = 0;
    virtual std::uint64_t QueryTickCount() = 0;
    virtual TDateTime QueryLocalDateTime() = 0;
    virtual std::int32_t QueryWorkAreaWidth() = 0;
    virtual std::int32_t QueryWorkAreaHeight() = 0;
    virtual std::int32_t QueryWorkAreaLeft() = 0;
    virtual std::int32_t QueryWorkAreaTop() = 0;
};

} // namespace zelmo
