#pragma once
// The strip's context menu as data: declared items with their marks, and the two operations that
// change marks. The check marks are the display options; no other copy of them exists.
#include "StatusLine.h"
#include "Version.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

namespace zelmo {

enum class MenuId : int {
    Version3001,
    N3,
    Position1,
    UpperPosition1,
    LowerPosition1,
    N2,
    CheckRemoteDrive1,
    DiskSize1,
    StayOnTop1,
    MemoryState1,
    StartTime1,
    TickCount1,
    N1,
    Exit1,
    None, // no parent: the item lies directly in the popup menu
};

inline constexpr std::size_t MenuItemCount = static_cast<std::size_t>(MenuId::None);

struct MenuItemDecl {
    MenuId Id;
    MenuId Parent;
    std::wstring_view Caption; // "-" alone is a separator; "&" marks the access key
    bool Enabled;
    bool Checked;
    bool Default;
    int RadioGroup; // 0: not a radio item
};

// The menu from top to bottom; the position pair lies in the submenu of Position1.
inline constexpr std::array<MenuItemDecl, MenuItemCount> DeclaredMenu = {{
    {MenuId::Version3001, MenuId::None, L"Zelmo Version " ZELMO_VERSION_TEXT, false, false, false, 0},
    {MenuId::N3, MenuId::None, L"-", true, false, false, 0},
    {MenuId::Position1, MenuId::None, L"表示位置(&P)", true, false, false, 0},
    {MenuId::UpperPosition1, MenuId::Position1, L"上端(&T)", true, false, true, 1},
    {MenuId::LowerPosition1, MenuId::Position1, L"下端(&B)", true, true, false, 1},
    {MenuId::N2, MenuId::None, L"-", true, false, false, 0},
    {MenuId::CheckRemoteDrive1, MenuId::None, L"リモートドライブの表示(&R)", true, false, false, 0},
    {MenuId::DiskSize1, MenuId::None, L"ディスクサイズの表示(&D)", true, true, false, 0},
    {MenuId::StayOnTop1, MenuId::None, L"最前面に表示(&O)", true, true, false, 0},
    {MenuId::MemoryState1, MenuId::None, L"使用可能メモリの表示(&M)", true, true, false, 0},
    {MenuId::StartTime1, MenuId::None, L"起動日時の表示(&S)", true, true, false, 0},
    {MenuId::TickCount1, MenuId::None, L"稼働時間の表示(&T)", true, true, false, 0},
    {MenuId::N1, MenuId::None, L"-", true, false, false, 0},
    {MenuId::Exit1, MenuId::None, L"終了(&X)", true, false, false, 0},
}};

constexpr const MenuItemDecl& Declared(MenuId id) noexcept {
    return DeclaredMenu[static_cast<std::size_t>(id)];
}
constexpr bool IsSeparator(MenuId id) noexcept {
    return Declared(id).Caption == L"-";
}

class TMenuModel {
public:
    // Told of every change of a check mark, so the platform menu can follow (CheckMenuItem).
    using CheckObserver = std::function<void(MenuId, bool)>;

    TMenuModel() noexcept;

    bool Checked(MenuId id) const noexcept { return state_[Index(id)].Checked; }
    bool IsDefault(MenuId id) const noexcept { return state_[Index(id)].Default; }

    // Nothing happens when the mark already has the value; turning a radio item on turns the
    // other items of its group under the same parent off, through this same operation.
    void SetChecked(MenuId id, bool value);
    // Clears the default mark of the item's siblings and sets it on the item.
    void MakeDefault(MenuId id) noexcept;

    void SetCheckObserver(CheckObserver observer) { observer_ = std::move(observer); }

    DisplayOptions Options() const noexcept;

private:
    struct ItemState {
        bool Checked;
        bool Default;
    };
    static constexpr std::size_t Index(MenuId id) noexcept { return static_cast<std::size_t>(id); }

    std::array<ItemState, MenuItemCount> state_{};
    CheckObserver observer_;
};

// The commands' effects on the marks. The strip window adds what reaches beyond the menu
// (the stacking switch of StayOnTop1, the close of Exit1).
void ToggleCheck(TMenuModel& menu, MenuId id); // CheckRemoteDrive1Click, DiskSize1Click, StayOnTop1Click, …
void ChooseUpperPosition(TMenuModel& menu);    // UpperPosition1Click
void ChooseLowerPosition(TMenuModel& menu);    // LowerPosition1Click
void SwapPosition(TMenuModel& menu);           // Label1DblClick: the other edge

} // namespace zelmo
