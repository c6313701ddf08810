#pragma once
// Texts of the application's error display and of the start-up failure box.
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmo {

inline constexpr std::wstring_view TimerUnavailableMessage = L"タイマーを取得できません";
inline constexpr std::wstring_view StartupErrorTitle = L"アプリケーションエラー";

// The executable's file name without directory and without everything from its first "." on,
// every character after the first in lower case ("C:\\Tools\\ZELMO3.EXE" gives "Zelmo3").
// lower maps one character to lower case; the portable default knows ASCII only.
std::wstring AppTitleFromExePath(std::wstring_view exePath, wchar_t (*lower)(wchar_t) = nullptr);

// The message as the error display shows it: "." appended when its last character sorts after ".".
std::wstring ErrorDisplayText(std::wstring_view message);

// "<path> に書き込めません"
std::wstring SettingsWriteErrorMessage(std::wstring_view settingsPath);

// "<kind> がモジュール <module> の <address> で発生しました。\r\n<message>[.]\r\n"
std::wstring StartupErrorText(std::wstring_view errorKind, std::wstring_view moduleName, std::uintptr_t address,
                              std::wstring_view message);

// The file name part of a Windows path (after the last "\", "/" or ":").
std::wstring_view FileNameOfPath(std::wstring_view path) noexcept;

} // namespace zelmo
