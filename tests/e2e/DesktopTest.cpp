// The strip on a desktop with a taskbar: never a taskbar button, the stacking switch without side effects,
// docking inside the work area. Each case runs on every test desktop; what a desktop adds (Wine's taskbar, the
// window manager's window state and work area) is checked where it exists.
#include "Harness.h"

#include <filesystem>
#include <fstream>

namespace e2e {
namespace {

constexpr size_t StayOnTopRow = 8;
constexpr DWORD SwitchLimitMs = 300;

// Where the desktop's taskbar lies, the work area ends: above Wine's taskbar at the bottom, below the window
// manager's taskbar at the top.
void ExpectWorkAreaBesideTheTaskbar() {
    const RECT area = WorkArea();
    switch (CurrentDesktop()) {
    case Desktop::Bare:
        EXPECT_EQ(area.bottom, ::GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(area.top, 0);
        break;
    case Desktop::Shell: {
        RECT tray{};
        ASSERT_TRUE(::GetWindowRect(::FindWindowW(L"Shell_TrayWnd", nullptr), &tray));
        EXPECT_EQ(area.bottom, tray.top) << "the work area does not end at Wine's taskbar";
        EXPECT_EQ(area.top, 0);
        break;
    }
    case Desktop::WindowManager:
        EXPECT_GT(area.top, 0) << "the window manager's taskbar is not at the top";
        EXPECT_EQ(area.bottom, ::GetSystemMetrics(SM_CYSCREEN));
        break;
    }
}

// What another program can observe of the strip while it switches layers: the same window, shown, in the same
// place, and no taskbar button.
struct Observation {
    HWND strip;
    bool visible;
    RECT rect;
};

class Desktops : public Zelmo {
protected:
    Observation Observe() const {
        RECT rect{};
        ::GetWindowRect(strip_, &rect);
        return {::FindWindowW(L"TZelmoMain", L"ZelmoMain"), ::IsWindowVisible(strip_) != FALSE, rect};
    }

    void ExpectUnchanged(const Observation& now, const Observation& before, const char* when) {
        EXPECT_EQ(now.strip, before.strip) << when << ": the strip was re-created";
        EXPECT_TRUE(now.visible) << when << ": the strip was hidden";
        EXPECT_TRUE(::EqualRect(&now.rect, &before.rect)) << when << ": the strip moved";
    }

    // Chooses 最前面に表示(&O) in the strip's menu and watches the switch: WS_EX_TOPMOST follows within the limit,
    // and while it does, and until the menu has gone, the strip stays as it was and has no taskbar button.
    void SwitchStacking(bool on) {
        const HWND menu = OpenMenu(Centre(StripRect()));
        ASSERT_NE(menu, nullptr) << "no menu";
        const auto choose = MenuItemChooser(menu, 'O', StayOnTopRow);
        const Observation before = Observe();
        choose();
        const ULONGLONG chosen = ::GetTickCount64();
        ULONGLONG switched = 0;
        // Sample as often as the calls allow: the taskbar's buttons on each round where the shell has them.
        bool failed = false;
        while (!failed && (switched == 0 || VisibleTopLevel(L"#32768", processId_) != nullptr)) {
            const ULONGLONG now = ::GetTickCount64();
            if (switched == 0 && Topmost() == on) {
                switched = now;
            }
            if (switched == 0 && now - chosen > 2000) {
                break;
            }
            if (now - chosen > 3000) {
                ADD_FAILURE() << "the menu did not close";
                break;
            }
            ExpectUnchanged(Observe(), before, "during the switch");
            if (CurrentDesktop() == Desktop::Shell) {
                EXPECT_TRUE(HasNoTaskbarButton(strip_)) << "during the switch";
            }
            failed = HasFailure();
            ::Sleep(1);
        }
        if (failed) {
            return;
        }
        ASSERT_NE(switched, 0u) << "WS_EX_TOPMOST did not follow within 2 s";
        EXPECT_LE(switched - chosen, SwitchLimitMs) << "WS_EX_TOPMOST followed too late";
        // The menu's window going away makes Wine's taskbar sort its buttons again; look once it has.
        ::Sleep(150);
        ExpectUnchanged(Observe(), before, "after the switch");
        EXPECT_TRUE(HasNoTaskbarButton(strip_)) << "after the switch";
        EXPECT_EQ(Topmost(), on) << "did not stay switched";
    }

    void WriteSettings(bool stayOnTop) {
        std::ofstream file(std::filesystem::path(ini_), std::ios::binary);
        file << "[Main]\r\nLowerPosition=1\r\nStayOnTop=" << (stayOnTop ? 1 : 0) << "\r\n";
    }

    void Close() {
        ::PostMessageW(strip_, WM_CLOSE, 0, 0);
        ASSERT_EQ(ExitCode(5000), 0u);
    }
};

TEST_F(Desktops, NoTaskbarButtonAtStartOrAfterAnyOfManyStackingSwitches) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(Topmost());
    // Wine's taskbar sorts its buttons when a window is created; the strip's own ones are, by now.
    ::Sleep(200);
    EXPECT_TRUE(HasNoTaskbarButton(strip_)) << "at start";
    EXPECT_TRUE(HasNoTaskbarButton(app_)) << "at start";
    for (int i = 0; i < 14; ++i) {
        const bool on = i % 2 == 1;
        SCOPED_TRACE(testing::Message() << "switch " << i + 1 << (on ? " on" : " off"));
        ASSERT_NO_FATAL_FAILURE(SwitchStacking(on));
    }
    EXPECT_TRUE(HasNoTaskbarButton(app_)) << "after the switches";
}

// Loaded from the settings file, in or out of the topmost layer, at either edge: docked inside the work area
// beside the desktop's taskbar, and no taskbar button.
TEST_F(Desktops, DockedInsideTheWorkAreaAtBothEdgesWithoutTaskbarButton) {
    ASSERT_NO_FATAL_FAILURE(ExpectWorkAreaBesideTheTaskbar());
    for (const bool stayOnTop : {false, true}) {
        SCOPED_TRACE(stayOnTop ? "StayOnTop=1" : "StayOnTop=0");
        WriteSettings(stayOnTop);
        ASSERT_NO_FATAL_FAILURE(Start());
        EXPECT_EQ(Topmost(), stayOnTop);
        for (const bool top : {false, true, false}) {
            SCOPED_TRACE(top ? "top edge" : "bottom edge");
            EXPECT_TRUE(WaitFor([&] { return static_cast<bool>(Docked(top)); }, 1500)) << Docked(top).message();
            ::Sleep(200);
            EXPECT_TRUE(HasNoTaskbarButton(strip_));
            EXPECT_EQ(Topmost(), stayOnTop);
            DoubleClick(Centre(StripRect())); // to the other edge at the next tick
        }
        ASSERT_NO_FATAL_FAILURE(Close());
    }
}

TEST_F(Desktops, SwitchedOffAtStartItStaysOutOfTheTaskbarWhenSwitchedOn) {
    WriteSettings(false);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_FALSE(Topmost());
    ::Sleep(200);
    EXPECT_TRUE(HasNoTaskbarButton(strip_)) << "at start";
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "on" : "off again");
        ASSERT_NO_FATAL_FAILURE(SwitchStacking(on));
    }
}

} // namespace
} // namespace e2e
