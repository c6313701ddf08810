#pragma once
// Composition of the status line from the display options and fresh system readings.
#include "DateTime.h"
#include "Format.h"

#include <cstdint>
#include <string>

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

// The display options as the menu's check marks give them at the moment of a refresh.
struct DisplayOptions {
    bool CheckRemoteDrive = false;
    bool DiskSize = true;
    bool MemoryState = true;
    bool StartTime = true;
    bool TickCount = true;
};

// The local date-time at which the system started: now minus the whole 64-bit tick count.
TDateTime ComputeStartDateTime(ISystemReadings& readings);

void AppendDriveSegments(std::wstring& line, const DisplayOptions& options, ISystemReadings& readings,
                         const LocaleSeparators& seps);
void AppendMemorySegment(std::wstring& line, const MemoryReading& memory);
void AppendStartTimeSegment(std::wstring& line, TDateTime startDateTime, const LocaleSeparators& seps);
void AppendUptimeSegment(std::wstring& line, std::uint64_t tickCount, const LocaleSeparators& seps);

// Rebuilds line from nothing; reuses its storage, so a warmed-up buffer costs no allocation.
void ComposeStatusLine(std::wstring& line, const DisplayOptions& options, TDateTime startDateTime,
                       ISystemReadings& readings, const LocaleSeparators& seps);

} // namespace zelmo
