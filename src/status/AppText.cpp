#include "AppText.h"

namespace zelmo {
namespace {

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

} // namespace

std::wstring_view FileNameOfPath(std::wstring_view path) noexcept {
    const std::size_t at = path.find_last_of(L"\\/:");
    return at == std::wstring_view::npos ? path : path.substr(at + 1);
}

std::wstring AppTitleFromExePath(std::wstring_view exePath, wchar_t (*lower)(wchar_t)) {
    if (lower == nullptr) {
        lower = AsciiLower;
    }
    std::wstring_view name = FileNameOfPath(exePath);
    name = name.substr(0, name.find(L'.'));
    std::wstring title(name);
    for (std::size_t i = 1; i < title.size(); ++i) {
        title[i] = lower(title[i]);
    }
    return title;
}

std::wstring ErrorDisplayText(std::wstring_view message) {
    std::wstring text(message);
    if (!text.empty() && text.back() > L'.') {
        text.push_back(L'.');
    }
    return text;
}

std::wstring SettingsWriteErrorMessage(std::wstring_view settingsPath) {
    std::wstring text(ErrorTextOf(ErrorText::SettingsNotWritable));
    text.replace(text.find(L"%s"), 2, settingsPath);
    return text;
}

std::wstring FailureMessage(ErrorText what, std::wstring_view systemText) {
    // Blanks include the ideographic space; "." and "。" end an English or a Japanese sentence. (npos + 1 is 0.)
    constexpr std::wstring_view Trailing = L"\r\n\t \u3000";
    std::wstring_view cause = systemText.substr(0, systemText.find_last_not_of(Trailing) + 1);
    if (!cause.empty() && (cause.back() == L'.' || cause.back() == L'\u3002')) {
        cause.remove_suffix(1);
        cause = cause.substr(0, cause.find_last_not_of(Trailing) + 1);
    }
    std::wstring text(ErrorTextOf(what));
    if (!cause.empty()) {
        text += L"\r\n";
        text += cause;
    }
    return text;
}

std::wstring StartupErrorText(std::wstring_view errorKind, std::wstring_view moduleName, std::uintptr_t address,
                              std::wstring_view message) {
    static constexpr wchar_t HexDigits[] = L"0123456789ABCDEF";
    std::wstring text(errorKind);
    text += L" がモジュール ";
    text += moduleName;
    text += L" の ";
    // A pointer shown as 16 upper-case hexadecimal digits.
    for (int shift = 60; shift >= 0; shift -= 4) {
        text.push_back(HexDigits[(static_cast<std::uint64_t>(address) >> shift) & 0xF]);
    }
    text += L" で発生しました。\r\n";
    text += message;
    if (!message.empty() && message.back() != L'.') {
        text.push_back(L'.');
    }
    text += L"\r\n";
    return text;
}

} // namespace zelmo
