#pragma once
// A static text control that sizes itself to its text: opaque, one line, tabs expanded, "&" as mnemonic
// prefix, measured with DrawTextW on a screen DC. It answers WM_GETTEXT, WM_GETFONT and WM_SETFONT like the
// system's controls do.
#include "Window.h"

#include <windows.h>

#include <functional>
#include <string>

namespace zelmo::win {

struct LabelStyle {
    const wchar_t* FontName;
    int FontHeight; // LOGFONT height at 96 DPI
    int FontWeight;
    int BackgroundSysColor;
    int TextSysColor;
    UINT DrawFlags;
};

class TLabel final : public TWindow<TLabel> {
public:
    static constexpr const wchar_t* ClassName = L"TLabel";
    static constexpr UINT ClassStyle = CS_DBLCLKS;

    TLabel(HINSTANCE instance, const LabelStyle& style);
    ~TLabel() { Destroy(); }

    // A visible child of parent with the given control id, place and size.
    void Create(HWND parent, int controlId, const RECT& bounds, const std::wstring& text);

    // Its own font at this DPI, from the declared height (so rounding never piles up across changes).
    void SetDpi(int dpi);
    // Setting an equal text does nothing; a new text is measured and painted.
    void SetText(const std::wstring& text);
    const std::wstring& Text() const noexcept { return text_; }
    SIZE Size() const noexcept { return size_; }
    HFONT Font() const noexcept { return font_; }
    void MoveTo(int left, int top) noexcept;

    std::function<void()> OnDoubleClick;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Measure();
    void Paint();

    LabelStyle style_;
    UniqueFont ownFont_;   // the font made for the DPI
    HFONT font_ = nullptr; // the font it draws and measures with: its own, or one given by WM_SETFONT
    std::wstring text_;
    SIZE size_{};
};

} // namespace zelmo::win
