#pragma once
// Composition of the status line from the display options and fresh system readings.
#include "DateTime.h"
#include "Format.h"
#include "SystemReadings.h"

#include <cstdint>
#include <string>

namespace zelmo {

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
