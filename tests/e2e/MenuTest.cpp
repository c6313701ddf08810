// The context menu and the double-click, worked with real mouse and keyboard input.
#include "Harness.h"

namespace e2e {
namespace {

// The menu of a strip without settings file: every option on, bottom edge. Types and states are compared
// under the masks of MenuMatches.
const std::vector<MenuItem> DefaultMenu = {
    {0, 0, MFS_GRAYED, L"Zelmo Version 3.11"},
    {0, MFT_SEPARATOR, 0, L""},
    {0, 0, 0, L"表示位置(&P)"},
    {1, MFT_RADIOCHECK, MFS_DEFAULT, L"上端(&T)"},
    {1, MFT_RADIOCHECK, MFS_CHECKED, L"下端(&B)"},
    {0, MFT_SEPARATOR, 0, L""},
    {0, 0, MFS_CHECKED, L"リモートドライブの表示(&R)"},
    {0, 0, MFS_CHECKED, L"ディスクサイズの表示(&D)"},
    {0, 0, MFS_CHECKED, L"最前面に表示(&O)"},
    {0, 0, MFS_CHECKED, L"使用可能メモリの表示(&M)"},
    {0, 0, MFS_CHECKED, L"起動日時の表示(&S)"},
    {0, 0, MFS_CHECKED, L"稼働時間の表示(&T)"},
    {0, MFT_SEPARATOR, 0, L""},
    {0, 0, 0, L"終了(&X)"},
};
constexpr size_t StayOnTopRow = 8;

void ExpectMenu(const std::vector<MenuItem>& items, const std::vector<MenuItem>& expected) {
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(testing::PrintToString(expected[i].caption));
        EXPECT_EQ(items[i].depth, expected[i].depth);
        EXPECT_EQ(items[i].caption, expected[i].caption);
        EXPECT_EQ(items[i].type & (MFT_SEPARATOR | MFT_RADIOCHECK), expected[i].type);
        EXPECT_EQ(items[i].state & (MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT), expected[i].state);
    }
}

// Waits until `ms` after `since` (GetTickCount64), pumping messages.
void WaitUntil(ULONGLONG since, ULONGLONG ms) {
    WaitFor([&] { return ::GetTickCount64() >= since + ms; }, static_cast<DWORD>(ms + 50));
}

TEST_F(Zelmo, RightClickOnTextOrFrameOpensMenuAtThePointer) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const RECT strip = StripRect();
    const struct {
        const char* where;
        POINT at;
    } clicks[] = {
        {"text", Centre(StripRect())},
        {"left frame pixel", {strip.left, (strip.top + strip.bottom) / 2}},
    };
    const RECT area = WorkArea();
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.where);
        const HWND window = OpenMenu(click.at);
        ASSERT_NE(window, nullptr) << "no menu";
        RECT menu{};
        ::GetWindowRect(window, &menu);
        EXPECT_EQ(menu.left, click.at.x);
        const LONG height = menu.bottom - menu.top;
        if (click.at.y + height <= area.bottom) {
            EXPECT_EQ(menu.top, click.at.y);
        } else {
            // Too low to open downwards: Wine pushes the menu up onto the work area's bottom, Windows flips it
            // to end at the pointer.
            EXPECT_TRUE(menu.bottom == area.bottom || menu.bottom == click.at.y) << menu.top << ".." << menu.bottom;
        }
        ExpectMenu(MenuItems(window), DefaultMenu);
        CloseMenu();
        EXPECT_TRUE(MenuClosed()) << "the menu did not close";
    }
    EXPECT_EQ(ExitCode(0), STILL_ACTIVE);
}

TEST_F(Zelmo, OptionItemsChangeTheLineAtTheNextTick) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // Each access key turns one segment off; the uptime goes last, since the ticks are seen by its change.
    const struct {
        WORD key;
        size_t row;
        LineShape after;
    } steps[] = {
        {'M', 9, {true, false, true, true}},
        {'D', 7, {false, false, true, true}},
        {'S', 10, {false, false, false, true}},
        {'T', 11, {false, false, false, false}},
    };
    LineShape shape{true, true, true, true};
    for (const auto& step : steps) {
        SCOPED_TRACE(static_cast<char>(step.key));
        const HWND menu = OpenMenu(Centre(StripRect()));
        ASSERT_NE(menu, nullptr);
        const auto choose = MenuItemChooser(menu, step.key, step.row);
        // Choose right after a tick (ticks go on under the open menu), then look before the next one.
        const ULONGLONG tick = NextTextChange();
        ASSERT_NE(tick, 0u);
        choose();
        ASSERT_TRUE(MenuClosed());
        WaitUntil(tick, 250);
        const std::wstring soon = Line();
        ASSERT_LT(::GetTickCount64() - tick, 450u) << "too slow to tell the next tick from an immediate change";
        EXPECT_TRUE(HasShape(soon, shape)) << "changed before the next tick: " << testing::PrintToString(soon);
        shape = step.after;
        EXPECT_TRUE(WaitFor([&] { return HasShape(Line(), shape); }, 1000)) << testing::PrintToString(Line());
    }
}

TEST_F(Zelmo, StayOnTopItemSwitchesTheLayerAtOnce) {
    ASSERT_NO_FATAL_FAILURE(Start());
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on ? "back on" : "off");
        const HWND window = OpenMenu(Centre(StripRect()));
        ASSERT_NE(window, nullptr);
        const std::vector<MenuItem> items = MenuItems(window);
        ASSERT_GT(items.size(), StayOnTopRow);
        EXPECT_EQ(items[StayOnTopRow].caption, DefaultMenu[StayOnTopRow].caption);
        EXPECT_EQ((items[StayOnTopRow].state & MFS_CHECKED) != 0, !on);
        const auto choose = MenuItemChooser(window, 'O', StayOnTopRow);
        const ULONGLONG tick = NextTextChange();
        ASSERT_NE(tick, 0u);
        choose();
        EXPECT_TRUE(WaitFor([&] { return Topmost() == on; }, 100)) << "not switched within 100 ms";
        EXPECT_LT(::GetTickCount64() - tick, 450u) << "cannot tell the switch from the next tick";
        ASSERT_TRUE(MenuClosed());
    }
}

TEST_F(Zelmo, DoubleClickOnTextSwitchesEdgeAtNextTickButNotOnFrame) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const RECT strip = StripRect();
    DoubleClick({strip.left, (strip.top + strip.bottom) / 2});
    EXPECT_FALSE(WaitFor([&] { return !AtBottomEdge(); }, 1100)) << "a double-click on the frame moved the strip";

    for (const bool toTop : {true, false}) {
        SCOPED_TRACE(toTop ? "to the top" : "back to the bottom");
        const ULONGLONG tick = NextTextChange();
        ASSERT_NE(tick, 0u);
        DoubleClick(Centre(StripRect()));
        WaitUntil(tick, 250);
        const bool stillThere = toTop ? AtBottomEdge() : AtTopEdge();
        ASSERT_LT(::GetTickCount64() - tick, 450u) << "too slow to tell the next tick from an immediate move";
        EXPECT_TRUE(stillThere) << "moved before the next tick";
        EXPECT_TRUE(WaitFor([&] { return toTop ? AtTopEdge() : AtBottomEdge(); }, 1000));
    }
}

} // namespace
} // namespace e2e
