#pragma once
// The settings file beside the executable: its path, its keys and the conversion of stored values.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelmo {

inline constexpr std::wstring_view SettingsSection = L"Main";

enum class SettingKey { CheckRemoteDrive, DiskSize, LowerPosition, StayOnTop, MemoryState, StartTime, TickCount };

// The order in which a save writes the keys.
inline constexpr std::array<SettingKey, 7> SaveOrder = {
    SettingKey::CheckRemoteDrive, SettingKey::DiskSize,  SettingKey::LowerPosition, SettingKey::StayOnTop,
    SettingKey::MemoryState,      SettingKey::StartTime, SettingKey::TickCount};

// The order in which a load applies the option keys after the position.
inline constexpr std::array<SettingKey, 6> LoadOptionOrder = {SettingKey::CheckRemoteDrive, SettingKey::DiskSize,
                                                              SettingKey::StayOnTop,        SettingKey::MemoryState,
                                                              SettingKey::StartTime,        SettingKey::TickCount};

std::wstring_view SettingKeyName(SettingKey key) noexcept;

// Read buffer size of a stored value, in UTF-16 units (longer values are cut to 2047 units).
inline constexpr std::size_t SettingValueBufferSize = 2048;

// Path of the settings file: the executable's last extension replaced by ".ini" (the last ".", "\" or
// ":" decides; a "/" is no separator), or ".ini" appended when there is none.
std::wstring SettingsPathFromExePath(std::wstring_view exePath);

// A whole text as a signed 32-bit integer: optional leading spaces, one sign, decimal digits or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Anything else gives no value.
std::optional<std::int32_t> ParseInt32(std::wstring_view text) noexcept;

// A stored Boolean: "0x" at the start of a text longer than two characters reads as "$"; a number is
// on unless it is zero; any text that is no number gives the default.
bool ParseSettingBool(std::wstring_view text, bool defaultValue) noexcept;

inline std::wstring_view SettingBoolText(bool value) noexcept {
    return value ? L"1" : L"0";
}

} // namespace zelmo
