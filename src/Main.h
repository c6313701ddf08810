#pragma once
// The strip window TZelmoMain: a borderless, topmost one-line status strip docked at the top or
// bottom edge of the primary monitor's work area, with its label, refresh timer and context menu.
#include "platform/Application.h"
#include "platform/Handles.h"
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
    static constexpr int Left = 0, Top = 0, ClientWidth = 452, ClientHeight = 230;
    static constexpr bool StayOnTop = true;
    static constexpr int BackgroundSysColor = COLOR_WINDOW; // replaced by black in FormCreate

    struct Label {
        static constexpr wchar_t ClassName[] = L"TLabel";
        static constexpr wchar_t Text[] = L"Label1";
        static constexpr int ControlId = 1;
        static constexpr int Left = 56, Top = 48, Width = 40, Height = 14;
        static constexpr wchar_t FontName[] = L"Tahoma";
        static constexpr int FontHeight = -12;
        static constexpr int FontWeight = FW_BOLD;
        static constexpr int BackgroundSysColor = COLOR_INFOBK;
        static constexpr int TextSysColor = COLOR_INFOTEXT;
        // Left and top aligned, one line without word wrap, tabs expanded, "&" as mnemonic prefix.
        static constexpr UINT DrawFlags = DT_LEFT | DT_TOP | DT_EXPANDTABS;
    };

    static constexpr UINT_PTR Timer1Id = 1;
    static constexpr UINT Timer1Interval = 500;
    static constexpr UINT MenuCommandBase = 100; // platform menu id = base + MenuId
    static constexpr int DesignDpi = 96;
};

class TZelmoMain final : public win::IMainWindow {
public:
    // The creation sequence: window and components from the form data, then FormCreate.
    TZelmoMain(win::TApplication& application, ISystemReadings& readings);
    TZelmoMain(const TZelmoMain&) = delete;
    TZelmoMain& operator=(const TZelmoMain&) = delete;
    ~TZelmoMain();

    HWND Handle() const noexcept override { return window_.get(); }
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

private:
    friend class TZelmoMainProbe; // white-box access for the in-process tests and benchmarks

    void UpdateDisplay();

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleLabelMessage(HWND label, UINT msg, WPARAM wParam, LPARAM lParam);

    void RegisterClasses();
    void CreateLabelFont();
    void SetLabelText(const std::wstring& text);
    void MeasureLabel();
    void PaintLabel(HWND label);
    void ApplyBounds(const WindowBounds& bounds);
    void SetStayOnTop(bool stayOnTop);
    bool CloseQuery();
    void RunCommand(MenuId id);
    void OpenPopupMenu(LPARAM position);
    void RebuildPopupMenu();
    void ChangeDpi(int newDpi);
    void LoadSettings();
    void SaveSettings();

    win::TApplication& app_;
    ISystemReadings& readings_;
    TMenuModel menu_;

    int dpi_ = ZelmoMainForm::DesignDpi;
    int labelFontHeight_ = ZelmoMainForm::Label::FontHeight;
    COLORREF background_ = 0;
    win::UniqueBrush backgroundBrush_;
    win::UniqueFont labelFont_;
    win::UniqueMenu popup_;

    std::wstring line_;      // composition buffer, reused from tick to tick
    std::wstring labelText_; // the label's present text
    SIZE labelSize_{};
    WindowBounds bounds_{};  // the strip's present place and size
    bool stayOnTop_ = false; // the window's present stacking
    long windowMoves_ = 0;   // SetWindowPos calls made by docking

    HWND label_ = nullptr;     // child of window_, destroyed with it
    win::UniqueWindow window_; // last: destroyed first, while everything it uses still exists
};

} // namespace zelmo
