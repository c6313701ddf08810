#pragma once
// The strip window TZelmoMain: a borderless, topmost one-line status strip docked at the top or
// bottom edge of the primary monitor's work area, with its label, refresh timer and context menu.
#include "Resource.h"
#include "platform/Application.h"
#include "platform/Label.h"
#include "platform/PopupMenu.h"
#include "platform/Window.h"
#include "status/Docking.h"
#include "status/Menu.h"
#include "status/StatusLine.h"

#include <windows.h>

#include <string>

namespace zelmo {

// The local date-time at which the system started; set once by FormCreate.
extern TDateTime StartDateTime;

// Declared form data: layout, fonts, colours and timing of the strip as designed (96 DPI).
struct ZelmoMainForm {
    static constexpr wchar_t ClassName[] = L"TZelmoMain";
    static constexpr wchar_t Caption[] = L"ZelmoMain";
    static constexpr DWORD Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    static constexpr DWORD ExStyle = WS_EX_CONTROLPARENT;
    static constexpr UINT ClassStyle = CS_DBLCLKS;
    static constexpr WORD ClassIcon = ZELMO_ICON_ID; // the strip's entry in Alt+Tab
    static constexpr int Left = 0, Top = 0, ClientWidth = 452, ClientHeight = 230;
    static constexpr bool StayOnTop = true;
    static constexpr int BackgroundSysColor = COLOR_WINDOW; // replaced by black in FormCreate

    struct Label {
        static constexpr wchar_t Text[] = L"Label1";
        static constexpr int ControlId = 1;
        static constexpr int Left = 56, Top = 48, Width = 40, Height = 14;
        // Tahoma bold -12 on the tooltip colours; left and top aligned, one line without word wrap, tabs
        // expanded, "&" as mnemonic prefix.
        static constexpr win::LabelStyle Style = {
            L"Tahoma", -12, FW_BOLD, COLOR_INFOBK, COLOR_INFOTEXT, DT_LEFT | DT_TOP | DT_EXPANDTABS};
    };

    static constexpr UINT_PTR Timer1Id = 1;
    static constexpr UINT Timer1Interval = 500;
    static constexpr UINT MenuCommandBase = 100; // platform menu id = base + MenuId
};

class TZelmoMain final : public win::TWindow<TZelmoMain>, public win::IMainWindow {
public:
    static constexpr const wchar_t* ClassName = ZelmoMainForm::ClassName;
    static constexpr UINT ClassStyle = ZelmoMainForm::ClassStyle;
    static constexpr WORD ClassIcon = ZelmoMainForm::ClassIcon;

    // The creation sequence: window and components from the form data, then FormCreate.
    TZelmoMain(win::TApplication& application, ISystemReadings& readings);
    ~TZelmoMain();

    HWND Handle() const noexcept override { return TWindow::Handle(); }
    void Show() override;
    void RequestClose() override;

    // Handlers.
    void Exit1Click();
    void FormCreate();
    void Timer1Timer();
    void LowerPosition1Click();
    void UpperPosition1Click();
    void Label1DblClick();
    void StayOnTop1Click();
    void TickCount1Click();
    void MemoryState1Click();
    void FormCloseQuery(bool& canClose);
    void StartTime1Click();
    void FormShow();
    void CheckRemoteDrive1Click();
    void DiskSize1Click();

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    HWND ErrorOwner() const noexcept { return app_.ErrorOwner(); }

private:
    friend class TZelmoMainProbe; // white-box access for the in-process tests and benchmarks

    void UpdateDisplay();
    void ApplyBounds(const WindowBounds& bounds);
    void SetStayOnTop(bool stayOnTop);
    bool CloseQuery();
    void RunCommand(MenuId id);
    void LoadSettings();
    void SaveSettings();

    win::TApplication& app_;
    ISystemReadings& readings_;
    TMenuModel menu_;
    win::TPopupMenu PopupMenu1;
    win::TLabel Label1;

    win::UniqueBrush backgroundBrush_;
    std::wstring line_;      // composition buffer, reused from tick to tick
    bool stayOnTop_ = false; // the window's present stacking
};

} // namespace zelmo
