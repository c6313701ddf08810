#include "status/AppText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

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
    // Unlike the error display, the start-up box ends every other message with ".", "!" too.
    EXPECT_EQ(StartupErrorText(L"E", L"m", 0, L"what!"),
              L"E がモジュール m の 0000000000000000 で発生しました。\r\nwhat!.\r\n");
}

TEST(ErrorTexts, JapaneseWithoutCallNamesOrNumbers) {
    EXPECT_EQ(ErrorTextOf(ErrorText::SettingsNotWritable), L"%s に書き込めません");
    EXPECT_EQ(ErrorTextOf(ErrorText::TimerUnavailable), L"タイマーを取得できません");
    EXPECT_EQ(ErrorTextOf(ErrorText::InvalidDateTime), L"日付または時刻が無効です");
    for (std::wstring_view text : ErrorTexts) {
        std::wstring own(text);
        if (const auto at = own.find(L"%s"); at != std::wstring::npos) {
            own.erase(at, 2); // the settings file's path goes there
        }
        const auto japanese = [](wchar_t c) { return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF); };
        const auto latin = [](wchar_t c) { return c < 0x80 && std::iswalnum(static_cast<wint_t>(c)); };
        EXPECT_TRUE(std::any_of(own.begin(), own.end(), japanese)) << testing::PrintToString(own);
        EXPECT_TRUE(std::none_of(own.begin(), own.end(), latin)) << testing::PrintToString(own);
    }
}

TEST(FailureMessage, CauseOnItsOwnLineWithoutTrailingBreaksBlanksOrSentenceEnd) {
    struct Case {
        std::wstring_view SystemText, Cause;
    };
    const Case cases[] = {
        {L"Invalid window handle.\r\n", L"\r\nInvalid window handle"},
        {L"ウィンドウ ハンドルが無効です。\r\n", L"\r\nウィンドウ ハンドルが無効です"},
        {L"Inner. Dots stay . \u3000\r\n", L"\r\nInner. Dots stay"},
        {L"", L""},
        {L" .\r\n", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FailureMessage(ErrorText::Window, c.SystemText),
                  L"ウィンドウを作成できません" + std::wstring(c.Cause))
            << testing::PrintToString(std::wstring(c.SystemText));
    }
}

} // namespace
} // namespace zelmo
