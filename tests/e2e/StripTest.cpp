// The strip window as other programs see it, the single-instance hand-over and the ways the program ends.
#include "Harness.h"

#include <functional>
#include <memory>

namespace e2e {
namespace {

TEST_F(Zelmo, StripIsAnOwnedTopmostPopupWithoutTaskbarButton) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(::GetWindowLongPtrW(strip_, GWL_STYLE) & ~WS_VISIBLE, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(::GetWindowLongPtrW(strip_, GWL_EXSTYLE), WS_EX_CONTROLPARENT | WS_EX_TOPMOST);
    EXPECT_NE(::GetClassLongPtrW(strip_, GCL_STYLE) & CS_DBLCLKS, 0u);
    // Only the hidden application window could carry a taskbar button.
    ASSERT_NE(app_, nullptr);
    EXPECT_EQ(ClassOf(app_), L"TApplication");
    EXPECT_EQ(TextOf(app_), L"Zelmo3");
    EXPECT_NE(::GetWindowLongPtrW(app_, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_FALSE(::IsWindowVisible(app_));
}

TEST_F(Zelmo, LabelSitsInOnePixelFrameOfStripCentredAtBottom) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(NextTextChange(), 0u); // read the geometry right after a tick, not across one
    EXPECT_EQ(ClassOf(label_), L"TLabel");
    const RECT strip = StripRect();
    RECT label{};
    ::GetWindowRect(label_, &label);
    RECT client{};
    ::GetClientRect(strip_, &client);
    const LONG width = strip.right - strip.left, height = strip.bottom - strip.top;
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
    EXPECT_EQ(label.left - strip.left, 1);
    EXPECT_EQ(label.top - strip.top, 1);
    EXPECT_EQ(width, label.right - label.left + 2);
    EXPECT_EQ(height, label.bottom - label.top + 2);
    EXPECT_GT(label.bottom - label.top, 0);
    EXPECT_TRUE(Docked(false));
}

// Another program (a window-arranging tool, say) moves the strip, then moves and resizes it: the next tick
// puts it back where it belongs.
TEST_F(Zelmo, StripReturnsToItsDockAtTheNextTickAfterAnOutsideMove) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(NextTextChange(), 0u);
    ASSERT_TRUE(Docked(false));
    const struct {
        const char* what;
        int dx, dy, dw, dh;
        UINT flags;
    } moves[] = {
        {"moved", 37, -120, 0, 0, SWP_NOSIZE},
        {"moved and resized", -53, -240, 90, 25, 0},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(move.what);
        const RECT before = StripRect();
        ASSERT_TRUE(::SetWindowPos(strip_, nullptr, before.left + move.dx, before.top + move.dy,
                                   before.right - before.left + move.dw, before.bottom - before.top + move.dh,
                                   move.flags | SWP_NOZORDER | SWP_NOACTIVATE));
        const ULONGLONG moved = ::GetTickCount64();
        const RECT away = StripRect();
        EXPECT_EQ(away.top, before.top + move.dy) << "the move did not happen";
        EXPECT_TRUE(WaitFor([&] { return static_cast<bool>(Docked(false)); }, 600))
            << "not back within one tick: " << Docked(false).message();
        EXPECT_LE(::GetTickCount64() - moved, 600u);
    }
}

TEST_F(Zelmo, LineShowsEverySegmentAndFollowsTheClock) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::wstring first = Line();
    EXPECT_TRUE(HasShape(first, {true, true, true, true})) << testing::PrintToString(first);
    // The uptime advances by one second from one change to the next, about a second apart (the ticks come every
    // 500 ms; the memory figures may change the line in between).
    std::optional<long long> before, after;
    const auto nextSecond = [&](std::optional<long long>& seconds) -> ULONGLONG {
        const auto start = UptimeSeconds(Line());
        return WaitFor([&] { return (seconds = UptimeSeconds(Line())) != start; }, 1500) ? ::GetTickCount64() : 0;
    };
    const ULONGLONG tick = nextSecond(before);
    const ULONGLONG nextTick = nextSecond(after);
    ASSERT_TRUE(tick != 0 && nextTick != 0) << "the uptime did not advance within 1.5 s";
    EXPECT_TRUE(HasShape(Line(), {true, true, true, true})) << testing::PrintToString(Line());
    ASSERT_TRUE(before.has_value() && after.has_value());
    EXPECT_EQ(*after - *before, 1);
    EXPECT_NEAR(static_cast<double>(nextTick - tick), 1000.0, 520.0);
}

TEST_F(Zelmo, SecondCopyEndsAtOnceAndBringsTheStripToFront) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // Put a window of ours in front first, so that the hand-over shows.
    const std::unique_ptr<HWND__, decltype(&::DestroyWindow)> other(
        ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr,
                          nullptr),
        &::DestroyWindow);
    ::SetForegroundWindow(other.get());
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == other.get(); }, 2000));

    const HANDLE second = Launch();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ExitCodeOf(second, 5000), 0u);
    EXPECT_EQ(TopLevelWindows(L"TZelmoMain", 0).size(), 1u);
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == strip_; }, 2000));
    EXPECT_EQ(ExitCode(0), STILL_ACTIVE);
}

TEST_F(Zelmo, EndOfSessionSavesOnTheQueryAndEndsWithoutSecondSave) {
    ASSERT_NO_FATAL_FAILURE(Start());
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(strip_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(answer, 1u);
    EXPECT_TRUE(ReadLines(ini_).has_value()) << "the query did not save the settings";
    EXPECT_TRUE(::IsWindowVisible(strip_));

    // The end of the session called off: nothing happens.
    ASSERT_TRUE(::SendMessageTimeoutW(app_, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(ExitCode(300), STILL_ACTIVE);

    // The end of the session: the process ends right in the handler, with 0 and without saving again. (The
    // answer is lost with the process, so SendMessageTimeoutW's own result says nothing.)
    ASSERT_TRUE(::DeleteFileW(ini_.c_str()));
    ::SendMessageTimeoutW(app_, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &answer);
    EXPECT_EQ(ExitCode(5000), 0u);
    EXPECT_FALSE(ReadLines(ini_).has_value()) << "the end of the session saved a second time";
}

TEST_F(Zelmo, EveryCloseRouteSavesAllOptionsAndEndsWithZero) {
    struct Route {
        const char* name;
        std::function<void()> close;
    };
    const Route routes[] = {
        {"WM_CLOSE to the strip", [this] { ::PostMessageW(strip_, WM_CLOSE, 0, 0); }},
        {"WM_CLOSE to the application window", [this] { ::PostMessageW(app_, WM_CLOSE, 0, 0); }},
        {"menu item X",
         [this] {
             const HWND menu = OpenMenu(Centre(StripRect()));
             ASSERT_NE(menu, nullptr);
             MenuItemChooser(menu, 'X', 13)();
         }},
    };
    std::vector<std::wstring> saved{L"[Main]"};
    for (const std::wstring& key : SavedKeys()) {
        saved.push_back(key + L"=1");
    }
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        ::DeleteFileW(ini_.c_str());
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_NO_FATAL_FAILURE(route.close());
        EXPECT_EQ(ExitCode(5000), 0u);
        auto lines = ReadLines(ini_);
        ASSERT_TRUE(lines.has_value()) << "no settings file";
        std::erase(*lines, std::wstring());
        EXPECT_EQ(*lines, saved);
    }
}

} // namespace
} // namespace e2e
