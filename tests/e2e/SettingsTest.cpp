// The settings file beside the exe: loading a prepared file, keeping what the program does not own, and a file
// that cannot be written.
#include "Harness.h"

#include <filesystem>
#include <fstream>
#include <future>

namespace e2e {
namespace {

TEST_F(Zelmo, PreparedFileIsAppliedAndItsOtherContentSurvivesTheSave) {
    {
        std::ofstream file(std::filesystem::path(ini_), std::ios::binary);
        file << "; written by hand\r\n[Other]\r\nKey=Value\r\n\r\n[Main]\r\nLowerPosition=0\r\nStayOnTop=0\r\n"
                "DiskSize=0x0\r\nMemoryState=false\r\nStartTime=-0\r\nTickCount=no\r\nExtra=kept\r\n";
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_FALSE(Topmost()) << "the load did not leave the topmost layer before the strip showed";
    EXPECT_TRUE(WaitFor([&] { return AtTopEdge(); }, 1000)) << "not at the top edge";
    EXPECT_TRUE(WaitFor(
        [&] {
            return HasShape(Line(), {false, true, false, true});
        },
        1000))
        << testing::PrintToString(Line());

    ::PostMessageW(strip_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(5000), 0u);
    const auto lines = ReadLines(ini_);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->front(), L"; written by hand");
    EXPECT_EQ(IniValue(*lines, L"Other", L"Key"), L"Value");
    EXPECT_EQ(IniValue(*lines, L"Main", L"Extra"), L"kept");
    const std::vector<std::wstring> saved = {L"1", L"0", L"0", L"0", L"1", L"0", L"1"}; // in the order of SavedKeys
    const std::vector<std::wstring> keys = SavedKeys();
    ASSERT_EQ(keys.size(), saved.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(IniValue(*lines, L"Main", keys[i]), saved[i]) << testing::PrintToString(keys[i]);
    }
}

// The message box's text is its Static child with text (the other one holds the icon).
std::wstring BoxMessage(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::_wcsicmp(ClassOf(child).c_str(), L"Static") == 0 && !TextOf(child).empty()) {
            return TextOf(child);
        }
    }
    return L"<no text>";
}

TEST_F(Zelmo, UnwritableFileKeepsTheStripOpenUntilItCanBeSaved) {
    // A folder in the file's place makes every write fail, also for an administrator.
    ASSERT_TRUE(::CreateDirectoryW(ini_.c_str(), nullptr));
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::wstring message = ini_ + L" に書き込めません.";

    ::PostMessageW(strip_, WM_CLOSE, 0, 0);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(TextOf(box), L"Zelmo3");
    EXPECT_EQ(BoxMessage(box), message);
    EXPECT_NE(NextTextChange(), 0u) << "the strip stopped refreshing under the box";
    // Close requests that arrive while the box is open (another program, a retrying helper) fail the same
    // way, and show no box of their own.
    for (HWND target : {strip_, strip_, app_, strip_}) {
        ::PostMessageW(target, WM_CLOSE, 0, 0);
    }
    EXPECT_NE(NextTextChange(), 0u);
    EXPECT_EQ(TopLevelWindows(L"#32770", processId_).size(), 1u) << "a second error box opened";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return VisibleTopLevel(L"#32770", processId_) == nullptr; }, 2000));
    EXPECT_EQ(ExitCode(300), STILL_ACTIVE) << "ended although the settings were not saved";

    // Asked before the end of the session, it shows the error again and does not agree.
    auto answer = std::async(std::launch::async, [strip = strip_] {
        DWORD_PTR result = 99;
        return ::SendMessageTimeoutW(strip, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &result) ? result : 99;
    });
    box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no error box on the session query";
    EXPECT_EQ(BoxMessage(box), message);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(answer.get(), 0u);

    // Once the file can be written, the next close goes through.
    ::PostMessageW(strip_, WM_CLOSE, 0, 0);
    box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no error box on the second close";
    ASSERT_TRUE(::RemoveDirectoryW(ini_.c_str()));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ExitCode(300), STILL_ACTIVE);
    ::PostMessageW(strip_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(5000), 0u);
    EXPECT_TRUE(ReadLines(ini_).has_value());
}

} // namespace
} // namespace e2e
