#include "Main.h"

#include "platform/Dpi.h"
#include "platform/Ini.h"
#include "platform/Module.h"
#include "platform/Stacking.h"
#include "status/AppText.h"
#include "status/Scaling.h"
#include "status/Settings.h"

namespace zelmo {

TDateTime StartDateTime = 0;

namespace {

using Form = ZelmoMainForm;

RECT DeclaredRect(int left, int top, int width, int height, int dpi) noexcept {
    const int l = ScaleForDpi(left, dpi), t = ScaleForDpi(top, dpi);
    return {l, t, l + ScaleForDpi(width, dpi), t + ScaleForDpi(height, dpi)};
}

} // namespace

TZelmoMain::TZelmoMain(win::TApplication& application, ISystemReadings& readings)
    : TWindow(application.Instance()), app_(application), readings_(readings), PopupMenu1(menu_, Form::MenuCommandBase),
      Label1(application.Instance(), Form::Label::Style),
      backgroundBrush_(win::Checked<win::UniqueBrush>(
          [] { return ::CreateSolidBrush(::GetSysColor(Form::BackgroundSysColor)); }, ErrorText::Brush)) {
    // The declared sizes are for 96 DPI; they follow the primary monitor's DPI.
    const int dpi = win::PrimaryMonitorDpi();
    Label1.SetDpi(dpi);
    const RECT place = DeclaredRect(Form::Left, Form::Top, Form::ClientWidth, Form::ClientHeight, dpi);
    Create(Form::ExStyle, Form::Caption, Form::Style, place, app_.Handle());
    Label1.Create(Handle(), Form::Label::ControlId,
                  DeclaredRect(Form::Label::Left, Form::Label::Top, Form::Label::Width, Form::Label::Height, dpi),
                  Form::Label::Text);
    Label1.OnDoubleClick = [this] { Label1DblClick(); };

    // An error in the creation handler is shown, and the window is still created and shown.
    try {
        FormCreate();
    } catch (...) {
        app_.ShowException();
    }
    SetStayOnTop(Form::StayOnTop);
    app_.SetMainWindow(this);
}

TZelmoMain::~TZelmoMain() {
    app_.SetMainWindow(nullptr);
    Destroy();
}

// --- Handlers ---------------------------------------------------------------------------------

void TZelmoMain::FormCreate() {
    StartDateTime = ComputeStartDateTime(readings_);
    backgroundBrush_ =
        win::Checked<win::UniqueBrush>([] { return ::CreateSolidBrush(RGB(0, 0, 0)); }, ErrorText::Brush);
    // The label paints its own opaque background; it sits one pixel inside the black frame.
    Label1.MoveTo(1, 1);
    UpdateDisplay();
    if (::SetTimer(Handle(), Form::Timer1Id, Form::Timer1Interval, nullptr) == 0) {
        win::RaiseError(std::wstring(ErrorTextOf(ErrorText::TimerUnavailable)));
    }
}

void TZelmoMain::FormShow() {
    // From here on the application window stays hidden: the program has no taskbar button.
    ::ShowWindow(app_.Handle(), SW_HIDE);
    LoadSettings();
}

void TZelmoMain::Timer1Timer() {
    UpdateDisplay();
}

void TZelmoMain::FormCloseQuery(bool& canClose) {
    static_cast<void>(canClose); // left as it came: a failed save raises instead
    SaveSettings();
}

void TZelmoMain::Exit1Click() {
    RequestClose();
}

void TZelmoMain::StayOnTop1Click() {
    ToggleCheck(menu_, MenuId::StayOnTop1);
    SetStayOnTop(menu_.Checked(MenuId::StayOnTop1));
}

void TZelmoMain::CheckRemoteDrive1Click() {
    ToggleCheck(menu_, MenuId::CheckRemoteDrive1);
}
void TZelmoMain::DiskSize1Click() {
    ToggleCheck(menu_, MenuId::DiskSize1);
}
void TZelmoMain::MemoryState1Click() {
    ToggleCheck(menu_, MenuId::MemoryState1);
}
void TZelmoMain::StartTime1Click() {
    ToggleCheck(menu_, MenuId::StartTime1);
}
void TZelmoMain::TickCount1Click() {
    ToggleCheck(menu_, MenuId::TickCount1);
}
void TZelmoMain::UpperPosition1Click() {
    ChooseUpperPosition(menu_);
}
void TZelmoMain::LowerPosition1Click() {
    ChooseLowerPosition(menu_);
}
void TZelmoMain::Label1DblClick() {
    SwapPosition(menu_);
}

// --- Refresh, stacking, closing ---------------------------------------------------------------

void TZelmoMain::UpdateDisplay() {
    ComposeStatusLine(line_, menu_.Options(), StartDateTime, readings_, app_.Separators());
    Label1.SetText(line_);

    const bool upper = menu_.Checked(MenuId::UpperPosition1);
    WorkArea area;
    area.Width = readings_.QueryWorkAreaWidth();
    area.Height = upper ? 0 : readings_.QueryWorkAreaHeight();
    area.Left = readings_.QueryWorkAreaLeft();
    area.Top = readings_.QueryWorkAreaTop();
    const SIZE label = Label1.Size();
    ApplyBounds(DockStrip(label.cx, label.cy, upper, area));
}

void TZelmoMain::ApplyBounds(const WindowBounds& bounds) {
    // Compared with where the window really is, so that a move from outside is undone at the next tick,
    // and a steady line costs no window operation.
    RECT now{};
    ::GetWindowRect(Handle(), &now);
    if (bounds == WindowBounds{now.left, now.top, now.right - now.left, now.bottom - now.top}) {
        return;
    }
    ::SetWindowPos(Handle(), nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TZelmoMain::SetStayOnTop(bool stayOnTop) {
    if (stayOnTop == stayOnTop_) {
        return;
    }
    stayOnTop_ = stayOnTop;
    win::SetTopmost(Handle(), stayOnTop);
}

void TZelmoMain::Show() {
    try {
        FormShow();
    } catch (...) {
        app_.ShowException();
    }
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
}

bool TZelmoMain::CloseQuery() {
    bool canClose = true;
    try {
        FormCloseQuery(canClose);
    } catch (...) {
        app_.ShowException();
        return false;
    }
    return canClose;
}

void TZelmoMain::RequestClose() {
    if (CloseQuery()) {
        app_.Terminate();
    }
}

// --- Settings ---------------------------------------------------------------------------------

void TZelmoMain::LoadSettings() {
    win::SettingsFile settings(SettingsPathFromExePath(win::ExecutablePath()));
    if (settings.ReadBool(SettingKeyName(SettingKey::LowerPosition), true)) {
        LowerPosition1Click();
    } else {
        UpperPosition1Click();
    }
    // Each stored option goes through its command, so whatever the command does happens on loading too.
    for (SettingKey key : LoadOptionOrder) {
        const bool value = settings.ReadBool(SettingKeyName(key), true);
        const MenuId item = SettingItem(key);
        menu_.SetChecked(item, !value);
        RunCommand(item);
    }
}

void TZelmoMain::SaveSettings() {
    win::SettingsFile settings(SettingsPathFromExePath(win::ExecutablePath()));
    for (SettingKey key : SaveOrder) {
        settings.WriteBool(SettingKeyName(key), menu_.Checked(SettingItem(key)));
    }
}

// --- Messages ---------------------------------------------------------------------------------

void TZelmoMain::RunCommand(MenuId id) {
    switch (id) {
    case MenuId::UpperPosition1:
        return UpperPosition1Click();
    case MenuId::LowerPosition1:
        return LowerPosition1Click();
    case MenuId::CheckRemoteDrive1:
        return CheckRemoteDrive1Click();
    case MenuId::DiskSize1:
        return DiskSize1Click();
    case MenuId::StayOnTop1:
        return StayOnTop1Click();
    case MenuId::MemoryState1:
        return MemoryState1Click();
    case MenuId::StartTime1:
        return StartTime1Click();
    case MenuId::TickCount1:
        return TickCount1Click();
    case MenuId::Exit1:
        return Exit1Click();
    case MenuId::Version3001: // disabled
    case MenuId::Position1:   // only opens its submenu
    case MenuId::N1:
    case MenuId::N2:
    case MenuId::N3:
    case MenuId::None:
        return;
    }
}

LRESULT TZelmoMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam == Form::Timer1Id) {
            Timer1Timer();
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(Handle(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.get());
        return 1;
    }
    case WM_CONTEXTMENU:
        PopupMenu1.TrackContextMenu(Handle(), lParam);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            RunCommand(PopupMenu1.ItemOfCommand(LOWORD(wParam)));
            return 0;
        }
        break;
    case WM_CLOSE:
        RequestClose();
        return 0;
    case WM_QUERYENDSESSION:
        // Agree only when the settings could be saved.
        return CloseQuery() ? TRUE : FALSE;
    case win::DpiChangedMessage:
        // The next tick sizes and docks the strip; the suggested rectangle is not used.
        if (HIWORD(wParam) > 0) {
            Label1.SetDpi(HIWORD(wParam));
        }
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

} // namespace zelmo
