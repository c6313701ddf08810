#pragma once
// The settings file beside the executable: its path, its keys and the conversion of stored values.
#include "Menu.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelmo {

inline constexpr std::wstring_view SettingsSection = L"Main";

enum class SettingKey {
    CheckRemoteDrive,
    DiskSize,
    LowerPosition,
    StayOnTop,
    MemoryState,
    StartTime,
    TickCount,
    Count // not a key: the number of keys
};

inline constexpr std::size_t SettingKeyCount = static_cast<std::size_t>(SettingKey::Count);

struct SettingDecl {
    SettingKey Key;
    std::wstring_view Name; // the key's name in the file
    MenuId Item;            // the menu item whose check mark the key holds
};

// Every key of the settings file, in the order a save writes them (which is the order of SettingKey).
inline constexpr std::array<SettingDecl, SettingKeyCount> DeclaredSettings = {{
    {SettingKey::CheckRemoteDrive, L"CheckRemoteDrive", MenuId::CheckRemoteDrive1},
    {SettingKey::DiskSize, L"DiskSize", MenuId::DiskSize1},
    {SettingKey::LowerPosition, L"LowerPosition", MenuId::LowerPosition1},
    {SettingKey::StayOnTop, L"StayOnTop", MenuId::StayOnTop1},
    {SettingKey::MemoryState, L"MemoryState", MenuId::MemoryState1},
    {SettingKey::StartTime, L"StartTime", MenuId::StartTime1},
    {SettingKey::TickCount, L"TickCount", MenuId::TickCount1},
}};

namespace detail {

// Every key once, at its own index (an entry left out would leave a default one, key 0, behind), with a name.
constexpr bool SettingsFollowTheKeys() noexcept {
    for (std::size_t i = 0; i < DeclaredSettings.size(); ++i) {
        if (static_cast<std::size_t>(DeclaredSettings[i].Key) != i || DeclaredSettings[i].Name.empty()) {
            return false;
        }
    }
    return true;
}

// Each key holds the mark of its own menu item, one that can be chosen.
constexpr bool SettingsHoldDistinctItems() noexcept {
    for (std::size_t i = 0; i < DeclaredSettings.size(); ++i) {
        const MenuId item = DeclaredSettings[i].Item;
        if (item == MenuId::None || IsSeparator(item) || !Declared(item).Enabled) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (DeclaredSettings[j].Item == item) {
                return false;
            }
        }
    }
    return true;
}

} // namespace detail

static_assert(detail::SettingsFollowTheKeys(),
              "DeclaredSettings needs one entry a SettingKey, in the order of the enum");
static_assert(detail::SettingsHoldDistinctItems(), "each setting needs a menu item of its own that can be chosen");

constexpr std::wstring_view SettingKeyName(SettingKey key) noexcept {
    return DeclaredSettings[static_cast<std::size_t>(key)].Name;
}

constexpr MenuId SettingItem(SettingKey key) noexcept {
    return DeclaredSettings[static_cast<std::size_t>(key)].Item;
}

// The order in which a save writes the keys.
inline constexpr std::array<SettingKey, SettingKeyCount> SaveOrder = [] {
    std::array<SettingKey, SettingKeyCount> keys{};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i] = DeclaredSettings[i].Key;
    }
    return keys;
}();

// The order in which a load applies the option keys after the position: every other key, in save order.
inline constexpr std::array<SettingKey, SettingKeyCount - 1> LoadOptionOrder = [] {
    std::array<SettingKey, SettingKeyCount - 1> keys{};
    std::size_t n = 0;
    for (const SettingDecl& setting : DeclaredSettings) {
        if (setting.Key != SettingKey::LowerPosition) {
            keys[n++] = setting.Key;
        }
    }
    return keys;
}();

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
