#pragma once
// The platform popup menu of a menu model: built anew from the items' present states each time it opens,
// its check marks following the model, tracked at a screen point.
#include "Handles.h"
#include "status/Menu.h"

#include <windows.h>

namespace zelmo::win {

class TPopupMenu {
public:
    // Platform command id of an item: commandBase + its MenuId.
    TPopupMenu(TMenuModel& model, UINT commandBase);

    // The item a WM_COMMAND id stands for, or MenuId::None for an id that is not one of this menu's.
    MenuId ItemOfCommand(UINT commandId) const noexcept;

    // Captions, enabled flags, check marks (bullets for radio items) and default marks from the model.
    void Rebuild();
    // Rebuilds, then shows the menu with its top-left corner at the point; choices go to owner as WM_COMMAND.
    void Track(HWND owner, POINT at);
    // For WM_CONTEXTMENU: at the request's screen point, or, for a request from the keyboard (no point), at
    // the top-left corner of the owner's client area.
    void TrackContextMenu(HWND owner, LPARAM position);

    HMENU Handle() const noexcept { return menu_.get(); }

private:
    void Insert(HMENU into, const MenuItemDecl& decl, HMENU submenu) const;

    TMenuModel& model_;
    UINT commandBase_;
    UniqueMenu menu_;
};

} // namespace zelmo::win
