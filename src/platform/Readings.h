#pragma once
// The system readings of the status line and the docking, straight from Win32.
#include "status/Format.h"
#include "status/StatusLine.h"

namespace zelmo::win {

class Win32Readings final : public ISystemReadings {
public:
    std::uint32_t QueryDriveType(wchar_t letter) override;
    std::int64_t QueryDriveFreeBytes(int driveNumber) override;
    std::int64_t QueryDriveTotalBytes(int driveNumber) override;
    MemoryReading QueryMemoryStatus() override;
    std::uint64_t QueryTickCount() override;
    TDateTime QueryLocalDateTime() override;
    std::int32_t QueryWorkAreaWidth() override;
    std::int32_t QueryWorkAreaHeight() override;
    std::int32_t QueryWorkAreaLeft() override;
    std::int32_t QueryWorkAreaTop() override;
};

} // namespace zelmo::win
