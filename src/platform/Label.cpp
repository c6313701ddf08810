#include "Label.h"

#include "status/Scaling.h"

namespace zelmo::win {

TLabel::TLabel(HINSTANCE instance, const LabelStyle& style) : TWindow(instance), style_(style) {}

void TLabel::Create(HWND parent, int controlId, const RECT& bounds, const std::wstring& text) {
    TWindow::Create(0, L"", WS_CHILD | WS_VISIBLE, bounds, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)));
    size_ = {bounds.right - bounds.left, bounds.bottom - bounds.top};
    SetText(text);
}

void TLabel::SetDpi(int dpi) {
    UniqueFont font = Checked<UniqueFont>(
        [&] {
            return ::CreateFontW(ScaleForDpi(style_.FontHeight, dpi), 0, 0, 0, style_.FontWeight, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, style_.FontName);
        },
        ErrorText::Font);
    font_ = font.get();
    ownFont_ = std::move(font);
    if (Handle() != nullptr) {
        Measure();
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TLabel::SetText(const std::wstring& text) {
    if (text == text_) {
        return;
    }
    text_.assign(text);
    ::SetWindowTextW(Handle(), text_.c_str());
    Measure();
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TLabel::MoveTo(int left, int top) noexcept {
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::Measure() {
    // An empty text measures as one blank, a lone "&" with a blank after it.
    const wchar_t* text = text_.c_str();
    if (text_.empty()) {
        text = L" ";
    } else if (text_ == L"&") {
        text = L"& ";
    }
    RECT rect{0, 0, size_.cx, size_.cy};
    {
        const UniqueScreenDC screen(::GetDC(nullptr));
        const ScopedSelectObject font(screen.get(), font_);
        ::DrawTextW(screen.get(), text, -1, &rect, DT_CALCRECT | DT_EXPANDTABS);
    }
    if (rect.right != size_.cx || rect.bottom != size_.cy) {
        size_ = {rect.right, rect.bottom};
        ::SetWindowPos(Handle(), nullptr, 0, 0, size_.cx, size_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TLabel::Paint() {
    const PaintDC paint(Handle());
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(paint.get(), &client, ::GetSysColorBrush(style_.BackgroundSysColor));
    const ScopedSelectObject font(paint.get(), font_);
    ::SetBkMode(paint.get(), TRANSPARENT);
    ::SetTextColor(paint.get(), ::GetSysColor(style_.TextSysColor));
    ::DrawTextW(paint.get(), text_.c_str(), -1, &client, style_.DrawFlags);
}

LRESULT TLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the whole label
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETFONT:
        // The sender keeps ownership of its font; nullptr means the system font, as for the system's controls.
        font_ = wParam != 0 ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
        Measure();
        if (LOWORD(lParam) != 0) {
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        if (OnDoubleClick) {
            OnDoubleClick();
        }
        return 0;
    default:
        break;
    }
    // Right-clicks travel on as WM_CONTEXTMENU to the parent, which owns the menu.
    return DefaultHandling(msg, wParam, lParam);
}

} // namespace zelmo::win
