#include "status/Settings.h"

#include <gtest/gtest.h>

namespace zelmo {
namespace {

TEST(ParseSettingBool, OffOnlyForNumbersEqualToZero) {
    struct Case {
        std::wstring Text;
        bool Expected;
    };
    const Case cases[] = {
        {L"0", false},         {L"00", false},         {L"-0", false},        {L"+0", false},
        {L" +0", false},       {L"   0", false},       {L"$0", false},        {L"0x0", false},
        {L"0X00", false},      {L"x0", false},         {L"X0", false},        {L"-$0", false},
        {L"-0x0", false},      {L"1", true},           {L"2", true},          {L"-1", true},
        {L"0x10", true},       {L"$FFFFFFFF", true},   {L"2147483647", true}, {L"-2147483648", true},
        {L"", true},           {L"false", true},       {L"no", true},         {L"0x", true},
        {L"$", true},          {L"+", true},           {L"- 0", true},        {L"0 ", true},
        {L"\t0", true},        {L"0.0", true},         {L"0x-0", true},       {L"0x 0", true},
        {L"2147483648", true}, {L"-2147483649", true}, {L"$100000000", true}, {L"99999999999999999999", true},
        {L"0g", true},         {L"+-0", true},         {L"0x$0", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseSettingBool(c.Text, true), c.Expected)
            << "\"" << std::string(c.Text.begin(), c.Text.end()) << "\"";
    }
    // The default applies only where the text is no number.
    EXPECT_FALSE(ParseSettingBool(L"false", false));
    EXPECT_TRUE(ParseSettingBool(L"7", false));
}

TEST(ParseSettingBool, LongTextsAreNoNumber) {
    std::wstring zeros(2047, L'0');
    EXPECT_FALSE(ParseSettingBool(zeros, true)); // many zeros are still zero
    EXPECT_TRUE(ParseSettingBool(std::wstring(2046, L'0') + L"1", false));
    EXPECT_TRUE(ParseSettingBool(std::wstring(2047, L'x'), true));
}

TEST(ParseInt32, ValuesAndRange) {
    EXPECT_EQ(ParseInt32(L"-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseInt32(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseInt32(L"$7fffffff"), 2147483647);
    EXPECT_EQ(ParseInt32(L"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseInt32(L"  -12"), -12);
    EXPECT_EQ(ParseInt32(L"2147483648"), std::nullopt);
    EXPECT_EQ(ParseInt32(L"12a"), std::nullopt);
}

TEST(SettingsPathFromExePath, ReplacesOnlyTheLastExtension) {
    struct Case {
        std::wstring Exe, Expected;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Zelmo3.exe", L"C:\\Tools\\Zelmo3.ini"},
        {L"C:\\Tools\\Zelmo3.new.exe", L"C:\\Tools\\Zelmo3.new.ini"},
        {L"C:\\Tools.old\\Zelmo3", L"C:\\Tools.old\\Zelmo3.ini"},
        {L"C:Zelmo3", L"C:Zelmo3.ini"},
        {L"C:.exe", L"C:.ini"},
        {L"C:/Tools.old/Zelmo3", L"C:/Tools.ini"}, // "/" is no separator
        {L"Zelmo3", L"Zelmo3.ini"},
        {L"", L".ini"},
        {L"\\\\server\\share\\Zelmo3.EXE", L"\\\\server\\share\\Zelmo3.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SettingsPathFromExePath(c.Exe), c.Expected);
    }
    const std::wstring longDir = L"C:\\" + std::wstring(400, L'd') + L"\\Zelmo3.exe";
    EXPECT_EQ(SettingsPathFromExePath(longDir), L"C:\\" + std::wstring(400, L'd') + L"\\Zelmo3.ini");
}

TEST(SettingKeys, SaveAndLoadOrders) {
    std::wstring saved;
    for (SettingKey key : SaveOrder) {
        saved += std::wstring(SettingKeyName(key)) + L",";
    }
    EXPECT_EQ(saved, L"CheckRemoteDrive,DiskSize,LowerPosition,StayOnTop,MemoryState,StartTime,TickCount,");
    std::wstring loaded;
    for (SettingKey key : LoadOptionOrder) {
        loaded += std::wstring(SettingKeyName(key)) + L",";
    }
    EXPECT_EQ(loaded, L"CheckRemoteDrive,DiskSize,StayOnTop,MemoryState,StartTime,TickCount,");
}

} // namespace
} // namespace zelmo
