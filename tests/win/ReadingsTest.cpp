// The status line composed from the real readings, checked against what the test reads itself.
#include "platform/Locale.h"
#include "platform/Readings.h"
#include "status/StatusLine.h"

#include "LineShape.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace zelmo::win {
namespace {

double Gigabytes(ULONGLONG bytes) {
    return static_cast<double>(bytes) / 1073741824.0;
}

TEST(Win32Readings, LineMatchesTheSystemsOwnFigures) {
    Win32Readings readings;
    const LocaleSeparators seps{L'.', L'/', L':'};
    const TDateTime start = ComputeStartDateTime(readings);
    std::wstring line;
    ComposeStatusLine(line, DisplayOptions{false, true, true, true, true}, start, readings, seps);

    // One segment per fixed drive, in letter order, with free and total sizes close to our own query.
    std::wstring expectedLetters;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const wchar_t root[] = {letter, L':', L'\\', 0};
        if (::GetDriveTypeW(root) != DRIVE_FIXED) {
            continue;
        }
        expectedLetters.push_back(letter);
        ULARGE_INTEGER freeToCaller{}, total{};
        ASSERT_TRUE(::GetDiskFreeSpaceExW(root, &freeToCaller, &total, nullptr));
        const std::wstring tag = std::wstring(L" [") + letter + L"] ";
        const std::size_t at = line.find(tag);
        ASSERT_NE(at, std::wstring::npos) << "drive " << static_cast<char>(letter);
        double shownFree = 0, shownTotal = 0;
        ASSERT_EQ(std::swscanf(line.c_str() + at + tag.size(), L"%lfGB/%lfGB", &shownFree, &shownTotal), 2);
        EXPECT_NEAR(shownFree, Gigabytes(freeToCaller.QuadPart), 0.5); // the disk may change meanwhile
        EXPECT_NEAR(shownTotal, Gigabytes(total.QuadPart), 0.006);
    }
    EXPECT_FALSE(expectedLetters.empty());
    std::wstring shownLetters;
    for (std::size_t at = line.find(L" ["); at != std::wstring::npos; at = line.find(L" [", at + 1)) {
        shownLetters.push_back(line[at + 2]);
    }
    EXPECT_EQ(shownLetters, expectedLetters);

    EXPECT_TRUE(zelmo::test::HasShape(line, {true, true, true, true})) << std::string(line.begin(), line.end());

    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    const std::size_t mb = line.find(L"MB> ");
    const std::size_t lt = line.rfind(L' ', mb - 1);
    const long long shownMb = std::stoll(line.substr(lt + 1, mb - lt - 1));
    EXPECT_NEAR(static_cast<double>(shownMb), static_cast<double>(memory.ullAvailPhys >> 20), 256.0);
}

TEST(Win32Readings, StartTimeIsNowMinusUptime) {
    Win32Readings readings;
    const TDateTime start = ComputeStartDateTime(readings);
    const TDateTime now = readings.QueryLocalDateTime();
    const double uptimeMs = static_cast<double>(::GetTickCount64());
    EXPECT_NEAR((now - start) * 86400000.0, uptimeMs, 1000.0);
}

TEST(Win32Readings, WorkAreaAndLocale) {
    Win32Readings readings;
    RECT area{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(readings.QueryWorkAreaWidth(), area.right - area.left);
    EXPECT_EQ(readings.QueryWorkAreaHeight(), area.bottom - area.top);
    EXPECT_EQ(readings.QueryWorkAreaLeft(), area.left);
    EXPECT_EQ(readings.QueryWorkAreaTop(), area.top);
    EXPECT_EQ(readings.QueryDriveType(L'C'), static_cast<std::uint32_t>(DRIVE_FIXED));
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        if (readings.QueryDriveType(letter) == DRIVE_NO_ROOT_DIR) { // a failed space query gives -1
            EXPECT_EQ(readings.QueryDriveFreeBytes(letter - 64), -1);
            EXPECT_EQ(readings.QueryDriveTotalBytes(letter - 64), -1);
            break;
        }
    }

    wchar_t decimal[8] = {};
    ::GetLocaleInfoW(::GetThreadLocale(), LOCALE_SDECIMAL, decimal, 8);
    EXPECT_EQ(LoadLocaleSeparators().Decimal, decimal[0]);
}

} // namespace
} // namespace zelmo::win
