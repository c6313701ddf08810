#pragma once
// One owner template for every kind of handle: the traits give the invalid value and the close
// function; copying is deleted so nothing is ever closed twice, moving hands ownership on.
#include "ErrorDisplay.h"

#include <windows.h>

#include <utility>

namespace zelmo::win {

template <typename Traits> class UniqueAny {
public:
    using Handle = typename Traits::Handle;

    UniqueAny() noexcept = default;
    explicit UniqueAny(Handle h) noexcept : handle_(h) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueAny() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) noexcept {
        const Handle old = std::exchange(handle_, h);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    Handle handle_ = Traits::Invalid();
};

// Traits for handles that a plain function closes and that are invalid when null.
template <typename H, auto CloseFunction> struct NullHandleTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { CloseFunction(h); }
};

// A device context of the whole screen, from GetDC(nullptr).
inline void ReleaseScreenDC(HDC dc) noexcept {
    ::ReleaseDC(nullptr, dc);
}

using KernelHandleTraits = NullHandleTraits<HANDLE, &::CloseHandle>;
using FontTraits = NullHandleTraits<HFONT, &::DeleteObject>;
using BrushTraits = NullHandleTraits<HBRUSH, &::DeleteObject>;
using MenuTraits = NullHandleTraits<HMENU, &::DestroyMenu>;
using WindowTraits = NullHandleTraits<HWND, &::DestroyWindow>;
using ScreenDCTraits = NullHandleTraits<HDC, &ReleaseScreenDC>;
using LocalMemoryTraits = NullHandleTraits<HLOCAL, &::LocalFree>;
using ModuleTraits = NullHandleTraits<HMODULE, &::FreeLibrary>;

using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueFont = UniqueAny<FontTraits>;
using UniqueBrush = UniqueAny<BrushTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;
using UniqueWindow = UniqueAny<WindowTraits>;
using UniqueScreenDC = UniqueAny<ScreenDCTraits>;
using UniqueLocalMemory = UniqueAny<LocalMemoryTraits>;
using UniqueModule = UniqueAny<ModuleTraits>;

// Creates an object and takes it into its owner, or raises an error saying what could not be made when the
// creation failed; every creation of a GDI object, menu or kernel object goes this way:
//   backgroundBrush_ = Checked<UniqueBrush>([&] { return ::CreateSolidBrush(colour); }, ErrorText::Brush);
// The last-error code is cleared before the creation: GDI's creators fail without setting it, and a code left
// by an earlier call (a look-up that fails by design, say) would otherwise be shown as the cause.
template <typename Owner, typename Create> [[nodiscard]] Owner Checked(Create&& create, ErrorText what) {
    ::SetLastError(ERROR_SUCCESS);
    Owner owner(std::forward<Create>(create)());
    if (!owner) {
        RaiseLastError(what);
    }
    return owner;
}

// The device context of one WM_PAINT: BeginPaint on construction, EndPaint on the way out.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Puts an object into a DC for one scope and restores the previous one on the way out.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    ~ScopedSelectObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace zelmo::win
