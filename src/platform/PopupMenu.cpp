#include "PopupMenu.h"

#include <windowsx.h>

#include <string>

namespace zelmo::win {

TPopupMenu::TPopupMenu(TMenuModel& model, UINT commandBase)
    : model_(model), commandBase_(commandBase), menu_(Checked<UniqueMenu>(::CreatePopupMenu, ErrorText::Menu)) {
    // A mark changed while the menu exists reaches the platform menu at once.
    model_.SetCheckObserver([this](MenuId id, bool on) {
        ::CheckMenuItem(menu_.get(), commandBase_ + static_cast<UINT>(id),
                        MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    });
}

MenuId TPopupMenu::ItemOfCommand(UINT commandId) const noexcept {
    const UINT index = commandId - commandBase_;
    return commandId >= commandBase_ && index < MenuItemCount ? static_cast<MenuId>(index) : MenuId::None;
}

void TPopupMenu::Insert(HMENU into, const MenuItemDecl& decl, HMENU submenu) const {
    std::wstring caption(decl.Caption);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.wID = commandBase_ + static_cast<UINT>(decl.Id);
    if (IsSeparator(decl.Id)) {
        mii.fMask = MIIM_FTYPE | MIIM_ID;
        mii.fType = MFT_SEPARATOR;
    } else {
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | (submenu != nullptr ? MIIM_SUBMENU : 0);
        mii.fType = MFT_STRING | (decl.RadioGroup != 0 ? MFT_RADIOCHECK : 0);
        mii.fState = (decl.Enabled ? MFS_ENABLED : MFS_DISABLED) |
                     (model_.Checked(decl.Id) ? MFS_CHECKED : MFS_UNCHECKED) |
                     (model_.IsDefault(decl.Id) ? MFS_DEFAULT : 0);
        mii.hSubMenu = submenu;
        mii.dwTypeData = caption.data();
    }
    ::SetLastError(ERROR_SUCCESS);
    if (!::InsertMenuItemW(into, static_cast<UINT>(::GetMenuItemCount(into)), TRUE, &mii)) {
        RaiseLastError(ErrorText::MenuItem);
    }
}

void TPopupMenu::Rebuild() {
    const HMENU popup = menu_.get();
    while (::GetMenuItemCount(popup) > 0) {
        ::DeleteMenu(popup, 0, MF_BYPOSITION); // also destroys the old submenu
    }
    // One level of submenus: an item whose children are declared opens them.
    for (const MenuItemDecl& decl : DeclaredMenu) {
        if (decl.Parent != MenuId::None) {
            continue;
        }
        UniqueMenu submenu;
        for (const MenuItemDecl& child : DeclaredMenu) {
            if (child.Parent == decl.Id) {
                if (!submenu) {
                    submenu = Checked<UniqueMenu>(::CreatePopupMenu, ErrorText::Menu);
                }
                Insert(submenu.get(), child, nullptr);
            }
        }
        Insert(popup, decl, submenu.get());
        submenu.release(); // owned by the popup menu from now on
    }
}

void TPopupMenu::Track(HWND owner, POINT at) {
    Rebuild();
    ::TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

void TPopupMenu::TrackContextMenu(HWND owner, LPARAM position) {
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (at.x == -1 && at.y == -1) {
        at = {0, 0};
        ::ClientToScreen(owner, &at);
    }
    Track(owner, at);
}

} // namespace zelmo::win
