#pragma once
// The settings file through the platform's private-profile functions.
#include <string>
#include <string_view>

namespace zelmo::win {

// Made for one load or one save; holds only the path and touches no file until asked. Its release
// sends the platform's flush request for the path, whose result does not matter.
class SettingsFile {
public:
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;
    ~SettingsFile();

    const std::wstring& Path() const noexcept { return path_; }
    // The stored value of [Main] key as a Boolean; the default when the file gives no number.
    bool ReadBool(std::wstring_view key, bool defaultValue) const;
    // Writes "1" or "0"; raises "<path> に書き込めません" when the platform reports a failure.
    void WriteBool(std::wstring_view key, bool value);

private:
    std::wstring path_;
};

} // namespace zelmo::win
