#pragma once
// Texts of the application's error display and of the start-up failure box.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace zelmo {

// Everything the program itself says when something fails, in its users' language: what could not be
// done, never the name of a system call. The system's own description of the cause may follow
// (FailureMessage).
enum class ErrorText : unsigned char {
    SettingsNotWritable, // "%s" is the settings file's full path
    TimerUnavailable,
    WindowClass,
    Window,
    Font,
    Brush,
    Menu,
    MenuItem,
    ModuleName,
    InvalidDateTime,
    OutOfMemory,
    Unexpected, // anything the program did not raise itself
};
inline constexpr std::wstring_view ErrorTexts[] = {
    L"%s に書き込めません",        L"タイマーを取得できません",     L"ウィンドウクラスを登録できません",
    L"ウィンドウを作成できません", L"フォントを作成できません",     L"ブラシを作成できません",
    L"メニューを作成できません",   L"メニュー項目を追加できません", L"実行ファイルの名前を取得できません",
    L"日付または時刻が無効です",   L"メモリが不足しています",       L"予期しないエラーが発生しました",
};
static_assert(std::size(ErrorTexts) == static_cast<std::size_t>(ErrorText::Unexpected) + 1);

constexpr std::wstring_view ErrorTextOf(ErrorText text) noexcept {
    return ErrorTexts[static_cast<std::size_t>(text)];
}

inline constexpr std::wstring_view StartupErrorTitle = L"アプリケーションエラー";
// The error display's title when the title from the executable's name cannot be made (no memory left): the
// name the program ships under.
inline constexpr std::wstring_view FallbackErrorTitle = L"Zelmo3";

// The program's words, then on a line of its own the system's description of the cause with its trailing
// line breaks, blanks and sentence end removed (the error display ends the message itself). An empty cause
// leaves the program's words alone.
std::wstring FailureMessage(ErrorText what, std::wstring_view systemText);

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
