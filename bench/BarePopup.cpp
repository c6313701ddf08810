// The least a Win32 program does to put a popup window on screen: one class, one WS_POPUP window shown at
// once, a message loop. zelmo_startup_bench measures it the same way as Zelmo3.exe; WM_CLOSE ends it.
#include <windows.h>

namespace {

constexpr wchar_t ClassName[] = L"ZelmoBarePopup";
constexpr wchar_t Caption[] = L"BarePopup";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = ClassName;
    if (!::RegisterClassExW(&wc)) {
        return 1;
    }
    const HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, ClassName, Caption, WS_POPUP, 0, 0, 600, 16,
                                        nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
