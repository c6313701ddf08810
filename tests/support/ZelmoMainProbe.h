#pragma once
// White-box access to the strip window for in-process tests and benchmarks.
#include "Main.h"

namespace zelmo {

class TZelmoMainProbe {
public:
    static void UpdateDisplay(TZelmoMain& form) { form.UpdateDisplay(); }
    static const std::wstring& LabelText(const TZelmoMain& form) { return form.labelText_; }
    static HWND Label(const TZelmoMain& form) { return form.label_; }
    static SIZE LabelSize(const TZelmoMain& form) { return form.labelSize_; }
    static long WindowMoves(const TZelmoMain& form) { return form.windowMoves_; }
    static int LabelFontHeight(const TZelmoMain& form) { return form.labelFontHeight_; }
    static TMenuModel& Menu(TZelmoMain& form) { return form.menu_; }
    static bool StayOnTop(const TZelmoMain& form) { return form.stayOnTop_; }
    static HMENU Popup(const TZelmoMain& form) { return form.popup_.get(); }
    static void RebuildPopupMenu(TZelmoMain& form) { form.RebuildPopupMenu(); }
    static bool CloseQuery(TZelmoMain& form) { return form.CloseQuery(); }
};

} // namespace zelmo
