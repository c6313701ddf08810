#include "status/Menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo {
namespace {

constexpr MenuId Options[] = {MenuId::CheckRemoteDrive1, MenuId::DiskSize1,  MenuId::StayOnTop1,
                              MenuId::MemoryState1,      MenuId::StartTime1, MenuId::TickCount1};

constexpr MenuId PositionPair[] = {MenuId::UpperPosition1, MenuId::LowerPosition1};

// Every command of the menu with the items whose marks it may change.
struct Command {
    std::string Name;
    std::function<void(TMenuModel&)> Run;
    std::vector<MenuId> Touches;
};

std::vector<Command> AllCommands() {
    std::vector<Command> commands = {
        {"ChooseUpperPosition", ChooseUpperPosition, {std::begin(PositionPair), std::end(PositionPair)}},
        {"ChooseLowerPosition", ChooseLowerPosition, {std::begin(PositionPair), std::end(PositionPair)}},
        {"SwapPosition", SwapPosition, {std::begin(PositionPair), std::end(PositionPair)}},
    };
    for (MenuId id : Options) {
        commands.push_back(
            {"ToggleCheck " + std::to_string(static_cast<int>(id)), [id](TMenuModel& m) { ToggleCheck(m, id); }, {id}});
    }
    return commands;
}

// Every item of the menu that the command may not change keeps its check and default marks.
void ExpectOnlyTouched(const TMenuModel& before, const TMenuModel& after, const std::vector<MenuId>& touches) {
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        const auto id = static_cast<MenuId>(i);
        if (std::find(touches.begin(), touches.end(), id) == touches.end()) {
            EXPECT_EQ(after.Checked(id), before.Checked(id)) << "item " << i;
            EXPECT_EQ(after.IsDefault(id), before.IsDefault(id)) << "item " << i;
        }
    }
}

void ExpectPositionInvariant(const TMenuModel& m) {
    const bool upper = m.Checked(MenuId::UpperPosition1);
    EXPECT_NE(upper, m.Checked(MenuId::LowerPosition1));
    EXPECT_EQ(m.IsDefault(MenuId::LowerPosition1), upper);
    EXPECT_EQ(m.IsDefault(MenuId::UpperPosition1), !upper);
}

TEST(MenuModel, DeclaredMarks) {
    TMenuModel m;
    EXPECT_TRUE(m.Checked(MenuId::LowerPosition1));
    EXPECT_TRUE(m.IsDefault(MenuId::UpperPosition1));
    EXPECT_FALSE(m.Checked(MenuId::CheckRemoteDrive1));
    for (MenuId id :
         {MenuId::DiskSize1, MenuId::StayOnTop1, MenuId::MemoryState1, MenuId::StartTime1, MenuId::TickCount1}) {
        EXPECT_TRUE(m.Checked(id));
    }
    EXPECT_FALSE(Declared(MenuId::Version3001).Enabled);
    // The caption follows the project version that CMake sets.
    const std::string_view version = ZELMO_PROJECT_VERSION;
    EXPECT_EQ(Declared(MenuId::Version3001).Caption, L"Zelmo Version " + std::wstring(version.begin(), version.end()));
    EXPECT_TRUE(IsSeparator(MenuId::N1) && IsSeparator(MenuId::N2) && IsSeparator(MenuId::N3));
}

TEST(MenuModel, RadioPairReportsEveryChangeToThePlatformMenu) {
    TMenuModel m;
    std::vector<std::pair<MenuId, bool>> seen;
    m.SetCheckObserver([&](MenuId id, bool on) { seen.emplace_back(id, on); });
    ChooseUpperPosition(m);
    EXPECT_EQ(seen,
              (std::vector<std::pair<MenuId, bool>>{{MenuId::UpperPosition1, true}, {MenuId::LowerPosition1, false}}));
    seen.clear();
    ChooseUpperPosition(m); // already on: nothing changes
    EXPECT_TRUE(seen.empty());
    ExpectPositionInvariant(m);
}

TEST(MenuModel, RandomCommandSequencesKeepTheRules) {
    std::mt19937 rng(20261209);
    for (int run = 0; run < 200; ++run) {
        TMenuModel m;
        for (int step = 0; step < 50; ++step) {
            const TMenuModel before = m;
            std::vector<MenuId> touches(std::begin(PositionPair), std::end(PositionPair));
            switch (rng() % 4) {
            case 0: {
                const bool upperWasOn = m.Checked(MenuId::UpperPosition1);
                ChooseUpperPosition(m);
                if (upperWasOn) { // choosing the checked item changes nothing
                    EXPECT_EQ(m.IsDefault(MenuId::LowerPosition1), before.IsDefault(MenuId::LowerPosition1));
                }
                EXPECT_TRUE(m.Checked(MenuId::UpperPosition1));
                break;
            }
            case 1:
                ChooseLowerPosition(m);
                EXPECT_TRUE(m.Checked(MenuId::LowerPosition1));
                break;
            case 2: {
                SwapPosition(m);
                EXPECT_NE(m.Checked(MenuId::UpperPosition1), before.Checked(MenuId::UpperPosition1));
                TMenuModel twice = m;
                SwapPosition(twice);
                EXPECT_EQ(twice.Checked(MenuId::UpperPosition1), before.Checked(MenuId::UpperPosition1));
                EXPECT_EQ(twice.IsDefault(MenuId::UpperPosition1), before.IsDefault(MenuId::UpperPosition1));
                break;
            }
            default: {
                const MenuId id = Options[rng() % std::size(Options)];
                touches = {id};
                ToggleCheck(m, id);
                EXPECT_NE(m.Checked(id), before.Checked(id));
                TMenuModel twice = m;
                ToggleCheck(twice, id);
                EXPECT_EQ(twice.Checked(id), before.Checked(id));
                break;
            }
            }
            ExpectPositionInvariant(m);
            ExpectOnlyTouched(before, m, touches);
        }
    }
}

TEST(MenuModel, MarksAreTouchedOnlyByTheirOwnCommand) {
    const std::vector<Command> commands = AllCommands();
    // Every command from the declared marks, and from the opposite marks (upper edge, every option flipped).
    TMenuModel opposite;
    ChooseUpperPosition(opposite);
    for (MenuId id : Options) {
        ToggleCheck(opposite, id);
    }
    for (const TMenuModel& start : {TMenuModel(), opposite}) {
        for (const Command& command : commands) {
            SCOPED_TRACE(command.Name);
            TMenuModel m = start;
            command.Run(m);
            ExpectOnlyTouched(start, m, command.Touches);
        }
    }
}

TEST(MenuModel, OptionsAreTheMarks) {
    // Each option switched on its own, so that two items swapped behind the options would show.
    struct Case {
        MenuId Item;
        bool DisplayOptions::*Option;
    };
    const Case cases[] = {{MenuId::CheckRemoteDrive1, &DisplayOptions::CheckRemoteDrive},
                          {MenuId::DiskSize1, &DisplayOptions::DiskSize},
                          {MenuId::MemoryState1, &DisplayOptions::MemoryState},
                          {MenuId::StartTime1, &DisplayOptions::StartTime},
                          {MenuId::TickCount1, &DisplayOptions::TickCount}};
    for (const Case& toggled : cases) {
        TMenuModel m;
        ToggleCheck(m, toggled.Item);
        const DisplayOptions o = m.Options();
        for (const Case& c : cases) {
            EXPECT_EQ(o.*c.Option, m.Checked(c.Item))
                << static_cast<int>(toggled.Item) << " " << static_cast<int>(c.Item);
        }
    }
}

} // namespace
} // namespace zelmo
