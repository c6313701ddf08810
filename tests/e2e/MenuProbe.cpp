// zelmo_e2e_menu.dll: a window hook that the driver places on the strip's thread. A menu handle is only
// readable inside the process that owns it (under Wine, GetMenuItemInfoW on another process's menu fails), so
// the hook, running inside the strip's process, answers the driver's request message sent to an open menu
// window by writing that menu's items to "menu.txt" (UTF-8) beside the exe:
// one line per item, "<depth>|<type hex>|<state hex>|<left>,<top>,<right>,<bottom>|<caption>" (the item's
// screen rectangle, empty for the items of a submenu, which is not open), each submenu's items right after
// its entry.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Describe(HWND window, HMENU menu, int depth, std::wstring& out) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = 256;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            out += L"?|failed\n";
            continue;
        }
        RECT item{};
        if (depth == 0) {
            ::GetMenuItemRect(window, menu, static_cast<UINT>(i), &item);
        }
        wchar_t head[128];
        std::swprintf(head, 128, L"%d|%x|%x|%ld,%ld,%ld,%ld|", depth, info.fType, info.fState, item.left, item.top,
                      item.right, item.bottom);
        out += head;
        out += caption;
        out += L'\n';
        if (info.hSubMenu != nullptr) {
            Describe(window, info.hSubMenu, depth + 1, out);
        }
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ReadMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT request = ::RegisterWindowMessageW(L"ZelmoE2eReadMenu");
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message != nullptr && message->message == request) {
        std::wstring text;
        Describe(message->hwnd, reinterpret_cast<HMENU>(::SendMessageW(message->hwnd, 0x01E1 /* MN_GETHMENU */, 0, 0)), 0, text);
        wchar_t path[MAX_PATH] = {};
        const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring file(path, n);
        file = file.substr(0, file.find_last_of(L'\\') + 1) + L"menu.txt";
        const HANDLE out = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            std::string utf8(text.size() * 3, '\0');
            utf8.resize(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.data(),
                                                                  static_cast<int>(text.size()), utf8.data(),
                                                                  static_cast<int>(utf8.size()), nullptr, nullptr)));
            DWORD written = 0;
            ::WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
            ::CloseHandle(out);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
