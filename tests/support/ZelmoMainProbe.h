#pragma once
// White-box access to the strip window for in-process tests and benchmarks.
#include "Main.h"

namespace zelmo {

class TZelmoMainProbe {
public:
    static void UpdateDisplay(TZelmoMain& form) { form.UpdateDisplay(); }
    static const std::wstring& LabelText(const TZelmoMain& form) { return form.Label1.Text(); }
    static HWND Label(const TZelmoMain& form) { return form.Label1.Handle(); }
    static SIZE LabelSize(const TZelmoMain& form) { return form.Label1.Size(); }
    // The height of the font the label draws with, as the font itself says.
    static int LabelFontHeight(const TZelmoMain& form) {
        LOGFONTW font{};
        return ::GetObjectW(form.Label1.Font(), sizeof(font), &font) == sizeof(font) ? font.lfHeight : 0;
    }
    static TMenuModel& Menu(TZelmoMain& form) { return form.menu_; }
    static bool StayOnTop(const TZelmoMain& form) { return form.stayOnTop_; }
    static HMENU Popup(const TZelmoMain& form) { return form.PopupMenu1.Handle(); }
    static void RebuildPopupMenu(TZelmoMain& form) { form.PopupMenu1.Rebuild(); }
    static bool CloseQuery(TZelmoMain& form) { return form.CloseQuery(); }
};

} // namespace zelmo
