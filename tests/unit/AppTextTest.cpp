#include "status/AppText.h"

#include <gtest/gtest.h>

namespace zelmo {
namespace {

TEST(AppTitle, FileNameUpToFirstDotRestLowered) {
    struct Case {
        std::wstring Path, Expected;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Zelmo3.exe", L"Zelmo3"},
        {L"C:\\Tools\\ZELMO3.EXE", L"Zelmo3"},
        {L"C:\\a.b\\zelmo3.new.exe", L"zelmo3"},
        {L"C:\\Tools\\Zelmo3", L"Zelmo3"},
        {L"Z:\\x\\.hidden.exe", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppTitleFromExePath(c.Path), c.Expected);
    }
}

TEST(ErrorDisplayText, DotOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(ErrorDisplayText(L"C:\\Tools\\Zelmo3.ini に書き込めません"), L"C:\\Tools\\Zelmo3.ini に書き込めません.");
    EXPECT_EQ(ErrorDisplayText(L"done."), L"done.");
    EXPECT_EQ(ErrorDisplayText(L"what!"), L"what!"); // "!" sorts before "."
    EXPECT_EQ(ErrorDisplayText(L"a-"), L"a-");
    EXPECT_EQ(ErrorDisplayText(L"a/"), L"a/.");
    EXPECT_EQ(ErrorDisplayText(L""), L"");
}

TEST(StartupErrorText, KindModuleAddressAndMessage) {
    EXPECT_EQ(StartupErrorText(L"EZelmoError", L"Zelmo3.exe", 0x1A2B, L"ウィンドウを作成できません"),
              L"EZelmoError がモジュール Zelmo3.exe の 0000000000001A2B で発生しました。\r\n"
              L"ウィンドウを作成できません.\r\n");
    EXPECT_EQ(StartupErrorText(L"E", L"m", 0, L"ends."),
              L"E がモジュール m の 0000000000000000 で発生しました。\r\nends.\r\n");
    EXPECT_EQ(StartupErrorText(L"E", L"m", 0, L""), L"E がモジュール m の 0000000000000000 で発生しました。\r\n\r\n");
}

} // namespace
} // namespace zelmo
