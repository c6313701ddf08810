#include "Main.h"

#include "platform/ErrorDisplay.h"
#include "platform/Ini.h"
#include "platform/Stacking.h"
#include "status/AppText.h"
#include "status/Settings.h"

#include <windowsx.h>

#include <utility>

namespace zelmo {

TDateTime StartDateTime = 0;

namespace {

using Form = ZelmoMainForm;

// The menu item whose check mark each key of the settings file holds.
MenuId ItemOfSetting(SettingKey key) noexcept {
    return SettingItem(key);
}

int PrimaryMonitorDpi() noexcept {
    const win::UniqueScreenDC screen(::GetDC(nullptr));
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : Form::DesignDpi;
    return dpi > 0 ? dpi : Form::DesignDpi;
}

} // namespace

TZelmoMain::TZelmoMain(win::TApplication& application, ISystemReadings& readings)
    : app_(application), readings_(readings), background_(::GetSysColor(Form::BackgroundSysColor)) {
    RegisterClasses();
    // The declared font heights are for 96 DPI; the label's follows the primary monitor's DPI.
    dpi_ = PrimaryMonitorDpi();
    labelFontHeight_ = ::MulDiv(Form::Label::FontHeight, dpi_, Form::DesignDpi);
    CreateLabelFont();
    backgroundBrush_.reset(::CreateSolidBrush(background_));

    popup_.reset(::CreatePopupMenu());
    if (!popup_) {
        win::RaiseLastError(L"CreatePopupMenu");
    }
    menu_.SetCheckObserver([this](MenuId id, bool on) {
        ::CheckMenuItem(popup_.get(), Form::MenuCommandBase + static_cast<UINT>(id),
                        MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    });

    const auto scaled = [this](int v) { return ::MulDiv(v, dpi_, Form::DesignDpi); };
    const HWND hwnd = ::CreateWindowExW(Form::ExStyle, Form::ClassName, Form::Caption, Form::Style, scaled(Form::Left),
                                        scaled(Form::Top), scaled(Form::ClientWidth), scaled(Form::ClientHeight),
                                        app_.Handle(), nullptr, app_.Instance(), this);
    if (hwnd == nullptr) {
        win::RaiseLastError(L"CreateWindowExW");
    }
    window_.reset(hwnd);
    bounds_ = {scaled(Form::Left), scaled(Form::Top), scaled(Form::ClientWidth), scaled(Form::ClientHeight)};

    label_ =
        ::CreateWindowExW(0, Form::Label::ClassName, L"", WS_CHILD | WS_VISIBLE, scaled(Form::Label::Left),
                          scaled(Form::Label::Top), scaled(Form::Label::Width), scaled(Form::Label::Height), hwnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(Form::Label::ControlId)), app_.Instance(), this);
    if (label_ == nullptr) {
        win::RaiseLastError(L"CreateWindowExW");
    }
    SetLabelText(Form::Label::Text);

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
    if (window_) {
        ::KillTimer(window_.get(), Form::Timer1Id);
    }
}

void TZelmoMain::RegisterClasses() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = app_.Instance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = Form::ClassName;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        win::RaiseLastError(L"RegisterClassExW");
    }
    wc.lpfnWndProc = LabelProc;
    wc.lpszClassName = Form::Label::ClassName;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        win::RaiseLastError(L"RegisterClassExW");
    }
}

void TZelmoMain::CreateLabelFont() {
    win::UniqueFont font(::CreateFontW(labelFontHeight_, 0, 0, 0, Form::Label::FontWeight, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, Form::Label::FontName));
    if (!font) {
        win::RaiseLastError(L"CreateFontW");
    }
    labelFont_ = std::move(font);
}

// --- Handlers ---------------------------------------------------------------------------------

void TZelmoMain::FormCreate() {
    StartDateTime = ComputeStartDateTime(readings_);
    background_ = RGB(0, 0, 0);
    backgroundBrush_.reset(::CreateSolidBrush(background_));
    // The label paints its own opaque background; it sits one pixel inside the black frame.
    ::SetWindowPos(label_, nullptr, 1, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateDisplay();
    if (::SetTimer(window_.get(), Form::Timer1Id, Form::Timer1Interval, nullptr) == 0) {
        win::RaiseError(std::wstring(TimerUnavailableMessage));
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

// --- Refresh ----------------------------------------------------------------------------------

void TZelmoMain::UpdateDisplay() {
    ComposeStatusLine(line_, menu_.Options(), StartDateTime, readings_, app_.Separators());
    SetLabelText(line_);

    const bool upper = menu_.Checked(MenuId::UpperPosition1);
    WorkArea area;
    area.Width = readings_.QueryWorkAreaWidth();
    area.Height = upper ? 0 : readings_.QueryWorkAreaHeight();
    area.Left = readings_.QueryWorkAreaLeft();
    area.Top = readings_.QueryWorkAreaTop();
    ApplyBounds(DockStrip(labelSize_.cx, labelSize_.cy, upper, area));
}

void TZelmoMain::ApplyBounds(const WindowBounds& bounds) {
    // A steady line costs no window operation.
    if (bounds == bounds_) {
        return;
    }
    bounds_ = bounds;
    ++windowMoves_;
    ::SetWindowPos(window_.get(), nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TZelmoMain::SetLabelText(const std::wstring& text) {
    if (text == labelText_) {
        return;
    }
    labelText_.assign(text);
    ::SetWindowTextW(label_, labelText_.c_str());
    MeasureLabel();
    ::InvalidateRect(label_, nullptr, FALSE);
}

void TZelmoMain::MeasureLabel() {
    // An empty text measures as one blank, a lone "&" with a blank after it.
    const wchar_t* text = labelText_.c_str();
    if (labelText_.empty()) {
        text = L" ";
    } else if (labelText_ == L"&") {
        text = L"& ";
    }
    RECT rect{0, 0, labelSize_.cx, labelSize_.cy};
    {
        const win::UniqueScreenDC screen(::GetDC(nullptr));
        const win::ScopedSelectObject font(screen.get(), labelFont_.get());
        ::DrawTextW(screen.get(), text, -1, &rect, DT_CALCRECT | DT_EXPANDTABS);
    }
    const SIZE size{rect.right, rect.bottom};
    if (size.cx != labelSize_.cx || size.cy != labelSize_.cy) {
        labelSize_ = size;
        ::SetWindowPos(label_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TZelmoMain::PaintLabel(HWND label) {
    const win::PaintDC paint(label);
    RECT client{};
    ::GetClientRect(label, &client);
    ::FillRect(paint.get(), &client, ::GetSysColorBrush(Form::Label::BackgroundSysColor));
    const win::ScopedSelectObject font(paint.get(), labelFont_.get());
    ::SetBkMode(paint.get(), TRANSPARENT);
    ::SetTextColor(paint.get(), ::GetSysColor(Form::Label::TextSysColor));
    ::DrawTextW(paint.get(), labelText_.c_str(), -1, &client, Form::Label::DrawFlags);
}

// --- Stacking, closing, DPI -------------------------------------------------------------------

void TZelmoMain::SetStayOnTop(bool stayOnTop) {
    if (stayOnTop == stayOnTop_) {
        return;
    }
    stayOnTop_ = stayOnTop;
    win::SetTopmost(window_.get(), stayOnTop);
}

void TZelmoMain::Show() {
    try {
        FormShow();
    } catch (...) {
        app_.ShowException();
    }
    ::ShowWindow(window_.get(), SW_SHOWNORMAL);
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

void TZelmoMain::ChangeDpi(int newDpi) {
    if (newDpi <= 0 || newDpi == dpi_) {
        return;
    }
    labelFontHeight_ = ::MulDiv(labelFontHeight_, newDpi, dpi_);
    dpi_ = newDpi;
    CreateLabelFont();
    MeasureLabel();
    ::InvalidateRect(label_, nullptr, FALSE);
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
        const MenuId item = ItemOfSetting(key);
        menu_.SetChecked(item, !value);
        RunCommand(item);
    }
}

void TZelmoMain::SaveSettings() {
    win::SettingsFile settings(SettingsPathFromExePath(win::ExecutablePath()));
    for (SettingKey key : SaveOrder) {
        settings.WriteBool(SettingKeyName(key), menu_.Checked(ItemOfSetting(key)));
    }
}

// --- Menu -------------------------------------------------------------------------------------

void TZelmoMain::RunCommand(MenuId id) {
    // The version line, the separators and the submenu entry have no command.
    static constexpr std::pair<MenuId, void (TZelmoMain::*)()> Commands[] = {
        {MenuId::UpperPosition1, &TZelmoMain::UpperPosition1Click},
        {MenuId::LowerPosition1, &TZelmoMain::LowerPosition1Click},
        {MenuId::CheckRemoteDrive1, &TZelmoMain::CheckRemoteDrive1Click},
        {MenuId::DiskSize1, &TZelmoMain::DiskSize1Click},
        {MenuId::StayOnTop1, &TZelmoMain::StayOnTop1Click},
        {MenuId::MemoryState1, &TZelmoMain::MemoryState1Click},
        {MenuId::StartTime1, &TZelmoMain::StartTime1Click},
        {MenuId::TickCount1, &TZelmoMain::TickCount1Click},
        {MenuId::Exit1, &TZelmoMain::Exit1Click},
    };
    for (const auto& [item, command] : Commands) {
        if (item == id) {
            (this->*command)();
            return;
        }
    }
}

void TZelmoMain::RebuildPopupMenu() {
    const HMENU popup = popup_.get();
    while (::GetMenuItemCount(popup) > 0) {
        ::DeleteMenu(popup, 0, MF_BYPOSITION); // also destroys the old submenu
    }
    win::UniqueMenu submenu(::CreatePopupMenu());
    if (!submenu) {
        win::RaiseLastError(L"CreatePopupMenu");
    }
    const auto insert = [this](HMENU into, const MenuItemDecl& decl, HMENU child) {
        std::wstring caption(decl.Caption);
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.wID = Form::MenuCommandBase + static_cast<UINT>(decl.Id);
        if (IsSeparator(decl.Id)) {
            mii.fMask = MIIM_FTYPE | MIIM_ID;
            mii.fType = MFT_SEPARATOR;
        } else {
            mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | (child != nullptr ? MIIM_SUBMENU : 0);
            mii.fType = MFT_STRING | (decl.RadioGroup != 0 ? MFT_RADIOCHECK : 0);
            mii.fState = (decl.Enabled ? MFS_ENABLED : MFS_DISABLED) |
                         (menu_.Checked(decl.Id) ? MFS_CHECKED : MFS_UNCHECKED) |
                         (menu_.IsDefault(decl.Id) ? MFS_DEFAULT : 0);
            mii.hSubMenu = child;
            mii.dwTypeData = caption.data();
        }
        if (!::InsertMenuItemW(into, static_cast<UINT>(::GetMenuItemCount(into)), TRUE, &mii)) {
            win::RaiseLastError(L"InsertMenuItemW");
        }
    };
    for (const MenuItemDecl& decl : DeclaredMenu) {
        if (decl.Parent == MenuId::Position1) {
            insert(submenu.get(), decl, nullptr);
        }
    }
    for (const MenuItemDecl& decl : DeclaredMenu) {
        if (decl.Parent != MenuId::None) {
            continue;
        }
        if (decl.Id == MenuId::Position1) {
            insert(popup, decl, submenu.get());
            submenu.release(); // owned by the popup menu from now on
        } else {
            insert(popup, decl, nullptr);
        }
    }
}

void TZelmoMain::OpenPopupMenu(LPARAM position) {
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the client area's top-left corner.
        at = {0, 0};
        ::ClientToScreen(window_.get(), &at);
    }
    RebuildPopupMenu();
    ::TrackPopupMenu(popup_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_.get(),
                     nullptr);
}

// --- Message handling -------------------------------------------------------------------------

LRESULT CALLBACK TZelmoMain::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    TZelmoMain* self = win::WindowInstance<TZelmoMain>(hwnd, msg, lParam);
    if (self == nullptr || self->window_.get() != hwnd) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        self->app_.ShowException();
        return 0;
    }
}

LRESULT TZelmoMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = window_.get();
    switch (msg) {
    case WM_TIMER:
        if (wParam == Form::Timer1Id) {
            Timer1Timer();
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.get());
        return 1;
    }
    case WM_CONTEXTMENU:
        OpenPopupMenu(lParam);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            const UINT id = LOWORD(wParam) - Form::MenuCommandBase;
            if (id < MenuItemCount) {
                RunCommand(static_cast<MenuId>(id));
            }
            return 0;
        }
        break;
    case WM_CLOSE:
        RequestClose();
        return 0;
    case WM_QUERYENDSESSION:
        // Agree only when the settings could be saved.
        return CloseQuery() ? TRUE : FALSE;
    case WM_DPICHANGED:
        // The next tick sizes and docks the strip; the suggested rectangle is not used.
        ChangeDpi(HIWORD(wParam));
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TZelmoMain::LabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    TZelmoMain* self = win::WindowInstance<TZelmoMain>(hwnd, msg, lParam);
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleLabelMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        self->app_.ShowException();
        return 0;
    }
}

LRESULT TZelmoMain::HandleLabelMessage(HWND label, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        PaintLabel(label);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the whole label
    case WM_LBUTTONDBLCLK:
        Label1DblClick();
        return 0;
    default:
        break;
    }
    // Right-clicks travel on as WM_CONTEXTMENU to the strip, which owns the menu.
    return ::DefWindowProcW(label, msg, wParam, lParam);
}

} // namespace zelmo
