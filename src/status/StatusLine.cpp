#include "StatusLine.h"

namespace zelmo {
namespace {

constexpr double BytesPerGigabyte = 1073741824.0;

} // namespace

TDateTime ComputeStartDateTime(ISystemReadings& readings) {
    const TDateTime now = readings.QueryLocalDateTime();
    const std::uint64_t tick = readings.QueryTickCount();
    // The whole 64-bit count is subtracted, so 49.7 days of uptime and more are not wrapped.
    return AddMilliseconds(now, -static_cast<std::int64_t>(tick));
}

void AppendDriveSegments(std::wstring& line, const DisplayOptions& options, ISystemReadings& readings,
                         const LocaleSeparators& seps) {
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const std::uint32_t type = readings.QueryDriveType(letter);
        const bool qualifies = type == DRIVE_TYPE_FIXED || (options.CheckRemoteDrive && type == DRIVE_TYPE_REMOTE);
        if (!qualifies) {
            continue;
        }
        const int driveNumber = letter - 64;
        line += L" [";
        line.push_back(letter);
        line += L"] ";
        AppendNumber(line, static_cast<double>(readings.QueryDriveFreeBytes(driveNumber)) / BytesPerGigabyte,
                     PatternGigabytes, seps);
        if (options.DiskSize) {
            line.push_back(L'/');
            AppendNumber(line, static_cast<double>(readings.QueryDriveTotalBytes(driveNumber)) / BytesPerGigabyte,
                         PatternGigabytes, seps);
        }
    }
}

void AppendMemorySegment(std::wstring& line, const MemoryReading& memory) {
    line.push_back(L'<');
    // A load above 100 would be a platform fault; it must not wrap into a huge percentage.
    AppendCount(line, memory.MemoryLoad <= 100 ? 100 - memory.MemoryLoad : 0);
    line += L"% ";
    AppendCount(line, memory.AvailPhys >> 20);
    line += L"MB> ";
}

void AppendStartTimeSegment(std::wstring& line, TDateTime startDateTime, const LocaleSeparators& seps) {
    line.push_back(L'<');
    AppendTimestamp(line, startDateTime, PatternStartTime, seps);
    line += L"> ";
}

void AppendUptimeSegment(std::wstring& line, std::uint64_t tickCount, const LocaleSeparators& seps) {
    const std::uint64_t seconds = tickCount / 1000;
    const std::uint64_t days = seconds / 86400;
    const std::uint64_t rest = seconds % 86400;
    line.push_back(L'<');
    if (days > 0) {
        AppendCount(line, days);
        line += L"日と";
    }
    AppendNumber(line, static_cast<double>(rest / 3600), PatternTwoDigitsColon, seps);
    AppendNumber(line, static_cast<double>(rest % 3600 / 60), PatternTwoDigitsColon, seps);
    AppendNumber(line, static_cast<double>(rest % 60), PatternTwoDigits, seps);
    line += L"> ";
}

void ComposeStatusLine(std::wstring& line, const DisplayOptions& options, TDateTime startDateTime,
                       ISystemReadings& readings, const LocaleSeparators& seps) {
    line.clear();
    AppendDriveSegments(line, options, readings, seps);
    line.push_back(L' ');
    if (options.MemoryState) {
        AppendMemorySegment(line, readings.QueryMemoryStatus());
    }
    if (options.StartTime) {
        AppendStartTimeSegment(line, startDateTime, seps);
    }
    if (options.TickCount) {
        AppendUptimeSegment(line, readings.QueryTickCount(), seps);
    }
}

} // namespace zelmo
