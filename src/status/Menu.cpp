#include "Menu.h"

namespace zelmo {

TMenuModel::TMenuModel() noexcept {
    for (const MenuItemDecl& decl : DeclaredMenu) {
        state_[Index(decl.Id)] = {decl.Checked, decl.Default};
    }
}

void TMenuModel::SetChecked(MenuId id, bool value) {
    ItemState& item = state_[Index(id)];
    if (item.Checked == value) {
        return;
    }
    item.Checked = value;
    if (observer_) {
        observer_(id, value);
    }
    const MenuItemDecl& decl = Declared(id);
    if (value && decl.RadioGroup != 0) {
        for (const MenuItemDecl& other : DeclaredMenu) {
            if (other.Id != id && other.Parent == decl.Parent && other.RadioGroup == decl.RadioGroup) {
                SetChecked(other.Id, false);
            }
        }
    }
}

void TMenuModel::MakeDefault(MenuId id) noexcept {
    if (state_[Index(id)].Default) {
        return;
    }
    const MenuId parent = Declared(id).Parent;
    for (const MenuItemDecl& other : DeclaredMenu) {
        if (other.Parent == parent) {
            state_[Index(other.Id)].Default = false;
        }
    }
    state_[Index(id)].Default = true;
}

DisplayOptions TMenuModel::Options() const noexcept {
    DisplayOptions options;
    options.CheckRemoteDrive = Checked(MenuId::CheckRemoteDrive1);
    options.DiskSize = Checked(MenuId::DiskSize1);
    options.MemoryState = Checked(MenuId::MemoryState1);
    options.StartTime = Checked(MenuId::StartTime1);
    options.TickCount = Checked(MenuId::TickCount1);
    return options;
}

void ToggleCheck(TMenuModel& menu, MenuId id) {
    menu.SetChecked(id, !menu.Checked(id));
}

void ChooseUpperPosition(TMenuModel& menu) {
    menu.SetChecked(MenuId::UpperPosition1, true);
    menu.MakeDefault(MenuId::LowerPosition1);
}

void ChooseLowerPosition(TMenuModel& menu) {
    menu.SetChecked(MenuId::LowerPosition1, true);
    menu.MakeDefault(MenuId::UpperPosition1);
}

void SwapPosition(TMenuModel& menu) {
    if (menu.Checked(MenuId::UpperPosition1)) {
        menu.SetChecked(MenuId::LowerPosition1, true);
        menu.MakeDefault(MenuId::UpperPosition1);
    } else {
        menu.SetChecked(MenuId::UpperPosition1, true);
        menu.MakeDefault(MenuId::LowerPosition1);
    }
}

} // namespace zelmo
