// The strip window in-process, against table-driven readings: sizing, docking, stacking, the
// regional-settings messages, DPI changes and the context menu's platform state.
#include "FakeReadings.h"
#include "WinProgram.h"
#include "WindowMoveCounter.h"
#include "ZelmoMainProbe.h"
#include "platform/Dpi.h"
#include "status/Error.h"
#include "status/Scaling.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <utility>

namespace zelmo {
namespace {

using test::FakeReadings;

// Readings whose memory query raises while Failing is set, as an error that recurs on every tick would.
struct FailingReadings : FakeReadings {
    std::atomic<bool> Failing{false};
    std::atomic<int> Failures{0};
    MemoryReading QueryMemoryStatus() override {
        if (Failing) {
            ++Failures;
            throw EZelmoError(L"メモリの状態を読めません");
        }
        return FakeReadings::QueryMemoryStatus();
    }
};

// The visible message boxes of this process; *box is one of them.
int OpenBoxes(HWND* box = nullptr) {
    int count = 0;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(w, &process);
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(w)) {
            ++count;
            if (box != nullptr) {
                *box = w;
            }
        }
    }
    return count;
}

class StripWindow : public ::testing::Test {
protected:
    void SetUp() override {
        readings_.Drives[L'C'] = {3, 132555714560, 511440289792};
        readings_.Memory = {42, 7118794809};
        readings_.Now = EncodeLocalDateTime({2024, 10, 27, 8, 5, 3, 500});
        readings_.Tick = 273906789;
        readings_.Area = {0, 0, 1280, 1024};
        app_ = std::make_unique<win::TApplication>(::GetModuleHandleW(nullptr), [this] {
            ++separatorReads_;
            return LocaleSeparators{};
        });
        form_ = std::make_unique<TZelmoMain>(*app_, readings_);
    }
    void TearDown() override {
        form_.reset();
        app_.reset();
    }

    RECT StripRect() const {
        RECT r{};
        ::GetWindowRect(form_->Handle(), &r);
        return r;
    }
    void Refresh() { TZelmoMainProbe::UpdateDisplay(*form_); }

    FailingReadings readings_;
    int separatorReads_ = 0;
    std::unique_ptr<win::TApplication> app_;
    std::unique_ptr<TZelmoMain> form_;
};

TEST_F(StripWindow, CreationComposesSizesAndDocks) {
    const HWND label = TZelmoMainProbe::Label(*form_);
    wchar_t text[256] = {};
    ::GetWindowTextW(label, text, 256);
    EXPECT_STREQ(text, L" [C] 123.45GB/476.32GB <58% 6789MB> <2024/10/24 03:59:56> <3日と04:05:06> ");

    RECT labelRect{};
    ::GetWindowRect(label, &labelRect);
    const RECT strip = StripRect();
    EXPECT_EQ(labelRect.left - strip.left, 1);
    EXPECT_EQ(labelRect.top - strip.top, 1);
    const SIZE size = TZelmoMainProbe::LabelSize(*form_);
    EXPECT_EQ(strip.right - strip.left, size.cx + 2);
    EXPECT_EQ(strip.bottom - strip.top, size.cy + 2);
    EXPECT_LE(std::abs((strip.left - 0) - (1280 - strip.right)), 1) << "not centred";
    EXPECT_EQ(strip.bottom, 1024);
    EXPECT_NE(::GetWindowLongPtrW(form_->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::GetWindow(form_->Handle(), GW_OWNER), app_->Handle());
}

// Alt+Tab shows the class's icons: the program's own at the system's two sizes (Icon.rc puts it into this exe).
TEST_F(StripWindow, ClassCarriesTheIconAtLargeAndSmallSize) {
    for (const auto& [index, metric] : {std::pair{GCLP_HICON, SM_CXICON}, std::pair{GCLP_HICONSM, SM_CXSMICON}}) {
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(::GetClassLongPtrW(form_->Handle(), index)), &info));
        const win::UniqueAny<win::NullHandleTraits<HBITMAP, &::DeleteObject>> colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bitmap{};
        ASSERT_TRUE(::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap));
        EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(metric));
    }
}

TEST_F(StripWindow, DocksInsideWorkAreasWithOffsets) {
    struct Case {
        WorkArea Area;
        bool Upper;
    };
    const Case cases[] = {
        {{0, 40, 1280, 984}, true},   // taskbar at the top: below it
        {{0, 40, 1280, 984}, false},  // ... and at the bottom of the screen
        {{60, 0, 1220, 1024}, false}, // taskbar at the left: centred on the work area
        {{0, 0, 100, 1024}, false},   // narrower than the strip: overhangs both sides evenly
    };
    for (const Case& c : cases) {
        readings_.Area = c.Area;
        if (c.Upper != TZelmoMainProbe::Menu(*form_).Checked(MenuId::UpperPosition1)) {
            form_->Label1DblClick();
        }
        Refresh();
        const SIZE size = TZelmoMainProbe::LabelSize(*form_);
        const RECT strip = StripRect();
        EXPECT_EQ(strip.right - strip.left, size.cx + 2);
        EXPECT_EQ(strip.bottom - strip.top, size.cy + 2);
        // Centred on the work area (the odd pixel goes to one side), against its top or its bottom.
        const int leftMargin = strip.left - c.Area.Left, rightMargin = c.Area.Left + c.Area.Width - strip.right;
        EXPECT_LE(std::abs(leftMargin - rightMargin), 1) << leftMargin << " vs " << rightMargin;
        if (c.Upper) {
            EXPECT_EQ(strip.top, c.Area.Top);
        } else {
            EXPECT_EQ(strip.bottom, c.Area.Top + c.Area.Height);
        }
    }
}

TEST_F(StripWindow, SteadyLineMovesNothingAndCommandsWaitForTheTick) {
    const test::WindowMoveCounter moves(form_->Handle());
    ASSERT_TRUE(moves.Installed());
    Refresh();
    Refresh();
    EXPECT_EQ(moves.Moves(), 0);

    const std::wstring before = TZelmoMainProbe::LabelText(*form_);
    form_->MemoryState1Click();
    form_->Label1DblClick();
    EXPECT_EQ(TZelmoMainProbe::LabelText(*form_), before); // nothing refreshes at once
    EXPECT_EQ(StripRect().bottom, 1024);
    Refresh();
    EXPECT_EQ(TZelmoMainProbe::LabelText(*form_).find(L"MB>"), std::wstring::npos);
    EXPECT_EQ(StripRect().top, 0);
    EXPECT_EQ(moves.Moves(), 1); // one move for size and place together
}

TEST_F(StripWindow, EmptyLineIsOneBlankWide) {
    readings_.Drives.clear();
    form_->MemoryState1Click();
    form_->StartTime1Click();
    form_->TickCount1Click();
    Refresh();
    EXPECT_EQ(TZelmoMainProbe::LabelText(*form_), L" ");
    const SIZE size = TZelmoMainProbe::LabelSize(*form_);
    EXPECT_GT(size.cx, 0);
    EXPECT_LT(size.cx, 10);
    EXPECT_EQ(StripRect().right - StripRect().left, size.cx + 2);
}

TEST_F(StripWindow, StayOnTopSwitchesAtOnceKeepingTheOwner) {
    const HWND strip = form_->Handle();
    form_->StayOnTop1Click();
    EXPECT_EQ(::GetWindowLongPtrW(strip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::GetWindow(strip, GW_OWNER), app_->Handle());
    form_->StayOnTop1Click();
    EXPECT_NE(::GetWindowLongPtrW(strip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::GetWindow(strip, GW_OWNER), app_->Handle());
    EXPECT_TRUE(TZelmoMainProbe::Menu(*form_).Checked(MenuId::StayOnTop1));
}

TEST_F(StripWindow, OnlyIntlAndTaskbarCreatedReadTheSeparatorsAgain) {
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    struct Case {
        const char* Name;
        HWND Target;
        UINT Msg;
        const wchar_t* Text;
        int ExtraReads;
    };
    const Case cases[] = {
        {"intl", app_->Handle(), WM_SETTINGCHANGE, L"intl", 1},
        {"Intl (case matters)", app_->Handle(), WM_SETTINGCHANGE, L"Intl", 0},
        {"other section", app_->Handle(), WM_SETTINGCHANGE, L"Policy", 0},
        {"no string", app_->Handle(), WM_SETTINGCHANGE, nullptr, 0},
        {"taskbar re-created", app_->Handle(), taskbarCreated, nullptr, 1},
        {"intl to the strip: handled once, by the application", form_->Handle(), WM_SETTINGCHANGE, L"intl", 0},
        {"unrelated message", app_->Handle(), WM_DEVMODECHANGE, L"intl", 0},
    };
    for (const Case& c : cases) {
        const int before = separatorReads_;
        ::SendMessageW(c.Target, c.Msg, 0, reinterpret_cast<LPARAM>(c.Text));
        EXPECT_EQ(separatorReads_, before + c.ExtraReads) << c.Name;
    }
}

TEST_F(StripWindow, DpiChangesScaleTheDeclaredFontHeightWithoutDrift) {
    // Each height comes from the declared -12, so a round trip through odd DPIs ends where it began.
    const int start = TZelmoMainProbe::LabelFontHeight(*form_);
    const SIZE startSize = TZelmoMainProbe::LabelSize(*form_);
    RECT suggested{0, 0, 10, 10};
    const struct { int Dpi, Height; } steps[] = {{120, -15}, {108, -14}, {144, -18}, {192, -24}, {97, -12}};
    for (const auto& step : steps) {
        ::SendMessageW(form_->Handle(), win::DpiChangedMessage, MAKEWPARAM(step.Dpi, step.Dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(TZelmoMainProbe::LabelFontHeight(*form_), step.Height) << step.Dpi;
    }
    const SIZE large = TZelmoMainProbe::LabelSize(*form_);
    ::SendMessageW(form_->Handle(), win::DpiChangedMessage, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    const SIZE doubled = TZelmoMainProbe::LabelSize(*form_);
    EXPECT_GT(doubled.cy, large.cy * 3 / 2);
    EXPECT_GT(doubled.cx, large.cx * 3 / 2);
    Refresh();
    EXPECT_EQ(StripRect().bottom - StripRect().top, doubled.cy + 2); // the next tick sizes the strip
    const int dpi = -start * DesignDpi / 12;
    ::SendMessageW(form_->Handle(), win::DpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(TZelmoMainProbe::LabelFontHeight(*form_), start);
    EXPECT_EQ(TZelmoMainProbe::LabelSize(*form_).cy, startSize.cy);
}

// The label's font as any program in the process can read it.
LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr) << "WM_GETFONT gave no font";
    ::GetObjectW(handle, sizeof(font), &font);
    return font;
}

TEST_F(StripWindow, LabelAnswersFontMessagesWithTheFontItMeasuresWith) {
    const HWND label = TZelmoMainProbe::Label(*form_);
    const LOGFONTW own = FontOf(label);
    EXPECT_STREQ(own.lfFaceName, L"Tahoma");
    EXPECT_EQ(own.lfWeight, FW_BOLD);
    EXPECT_EQ(own.lfHeight, TZelmoMainProbe::LabelFontHeight(*form_));

    // A font set from outside is the one it then measures and answers with; the sender keeps it.
    const win::UniqueFont big(::CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                            DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
    ASSERT_TRUE(big);
    const SIZE before = TZelmoMainProbe::LabelSize(*form_);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(big.get()), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)), big.get());
    const SIZE after = TZelmoMainProbe::LabelSize(*form_);
    EXPECT_GT(after.cy, before.cy * 2);
    RECT rect{};
    ::GetClientRect(label, &rect);
    EXPECT_EQ(rect.bottom, after.cy);
    Refresh();
    EXPECT_EQ(StripRect().bottom - StripRect().top, after.cy + 2);
    // Its own font again, for the next DPI.
    ::SendMessageW(form_->Handle(), win::DpiChangedMessage, MAKEWPARAM(96, 96), 0);
    EXPECT_EQ(FontOf(label).lfHeight, -12);
}

// Runs in a prefix whose DPI is 144 (a fixture of its own); elsewhere it has nothing to check.
TEST_F(StripWindow, LabelFontAtDpi144IsTahomaBoldMinus18) {
    const win::UniqueScreenDC screen(::GetDC(nullptr));
    if (::GetDeviceCaps(screen.get(), LOGPIXELSY) != 144) {
        GTEST_SKIP() << "the screen is not at 144 DPI here";
    }
    const LOGFONTW font = FontOf(TZelmoMainProbe::Label(*form_));
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfHeight, -18);
    // The frame stays one pixel wide.
    RECT label{};
    ::GetWindowRect(TZelmoMainProbe::Label(*form_), &label);
    EXPECT_EQ(label.left - StripRect().left, 1);
    EXPECT_EQ(StripRect().bottom - label.bottom, 1);
}

TEST_F(StripWindow, MoveFromOutsideIsUndoneAtTheNextTick) {
    const RECT docked = StripRect();
    const struct {
        const char* Name;
        int X, Y, Width, Height;
        UINT Flags;
    } moves[] = {
        {"moved", 10, 20, 0, 0, SWP_NOSIZE},
        {"moved and resized", 30, 40, 300, 60, 0},
        {"resized only", 0, 0, 50, 5, SWP_NOMOVE},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(move.Name);
        ::SetWindowPos(form_->Handle(), nullptr, move.X, move.Y, move.Width, move.Height,
                       move.Flags | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT moved = StripRect();
        EXPECT_FALSE(::EqualRect(&moved, &docked));
        Refresh();
        RECT back = StripRect();
        EXPECT_TRUE(::EqualRect(&back, &docked))
            << back.left << "," << back.top << " " << back.right << "," << back.bottom;
    }
}

TEST_F(StripWindow, PopupMenuIsRebuiltFromTheMarks) {
    form_->Label1DblClick();
    form_->CheckRemoteDrive1Click();
    TZelmoMainProbe::RebuildPopupMenu(*form_);
    TZelmoMainProbe::RebuildPopupMenu(*form_); // twice: nothing piles up
    const HMENU popup = TZelmoMainProbe::Popup(*form_);
    ASSERT_EQ(::GetMenuItemCount(popup), 12);
    const auto state = [](HMENU menu, UINT position) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
        ::GetMenuItemInfoW(menu, position, TRUE, &mii);
        return mii;
    };
    EXPECT_NE(state(popup, 0).fState & MFS_DISABLED, 0u); // the version line
    EXPECT_NE(state(popup, 1).fType & MFT_SEPARATOR, 0u);
    EXPECT_NE(state(popup, 4).fState & MFS_CHECKED, 0u); // remote drives now on
    const HMENU position = state(popup, 2).hSubMenu;
    ASSERT_NE(position, nullptr);
    EXPECT_NE(state(position, 0).fState & MFS_CHECKED, 0u); // top edge chosen
    EXPECT_NE(state(position, 1).fState & MFS_DEFAULT, 0u); // bottom edge is the bold one
    EXPECT_NE(state(position, 0).fType & MFT_RADIOCHECK, 0u);
    wchar_t caption[64] = {};
    ::GetMenuStringW(popup, 11, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"終了(&X)");

    // A mark changed while the menu exists reaches the platform menu at once.
    form_->DiskSize1Click();
    EXPECT_EQ(state(popup, 5).fState & MFS_CHECKED, 0u);
}

TEST_F(StripWindow, RecurringErrorKeepsOneBoxOpenAndTheNextIsShownOnceItCloses) {
    readings_.Failing = true;
    // The boxes and their modal loops run on this thread; another one watches them and presses OK, twice.
    auto watcher = std::async(std::launch::async, [this] {
        std::vector<int> mostBoxes, ticksUnderTheBox;
        for (int round = 0; round < 2; ++round) {
            HWND box = nullptr;
            for (int i = 0; i < 60 && OpenBoxes(&box) == 0; ++i) {
                ::Sleep(50);
            }
            const int failures = readings_.Failures;
            int most = 0;
            for (int i = 0; i < 30; ++i, ::Sleep(50)) { // three ticks and more
                most = std::max(most, OpenBoxes());
            }
            mostBoxes.push_back(most);
            ticksUnderTheBox.push_back(readings_.Failures - failures);
            readings_.Failing = round == 0;
            for (; OpenBoxes(&box) != 0; ::Sleep(50)) { // more than one is a failure already
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
        return std::pair(mostBoxes, ticksUnderTheBox);
    });
    test::WaitFor([&] { return watcher.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }, 60000);
    const auto [mostBoxes, ticksUnderTheBox] = watcher.get();
    EXPECT_EQ(mostBoxes, (std::vector<int>{1, 1})) << "no box, or a box inside the box";
    EXPECT_GE(std::min(ticksUnderTheBox[0], ticksUnderTheBox[1]), 2) << "the ticks stopped under the box";
    EXPECT_TRUE(::IsWindow(form_->Handle()));
}

} // namespace
} // namespace zelmo
