#pragma once
// One owner template for every kind of handle: the traits give the invalid value and the close
// function; copying is deleted so nothing is ever closed twice, moving hands ownership on.
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

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

struct FontTraits {
    using Handle = HFONT;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

struct BrushTraits {
    using Handle = HBRUSH;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};

// A device context of the whole screen, from GetDC(nullptr).
struct ScreenDCTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::ReleaseDC(nullptr, h); }
};

using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueFont = UniqueAny<FontTraits>;
using UniqueBrush = UniqueAny<BrushTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;
using UniqueWindow = UniqueAny<WindowTraits>;
using UniqueScreenDC = UniqueAny<ScreenDCTraits>;

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
