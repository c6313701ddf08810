#include "Ini.h"

#include "ErrorDisplay.h"
#include "status/AppText.h"
#include "status/Settings.h"

#include <windows.h>

#include <vector>

namespace zelmo::win {

SettingsFile::~SettingsFile() {
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path_.c_str());
}

bool SettingsFile::ReadBool(std::wstring_view key, bool defaultValue) const {
    std::vector<wchar_t> buffer(SettingValueBufferSize, L'\0');
    const std::wstring section(SettingsSection);
    const std::wstring name(key);
    const DWORD n = ::GetPrivateProfileStringW(section.c_str(), name.c_str(), L"", buffer.data(),
                                               static_cast<DWORD>(buffer.size()), path_.c_str());
    return ParseSettingBool(std::wstring_view(buffer.data(), n), defaultValue);
}

void SettingsFile::WriteBool(std::wstring_view key, bool value) {
    const std::wstring section(SettingsSection);
    const std::wstring name(key);
    const std::wstring text(SettingBoolText(value));
    if (!::WritePrivateProfileStringW(section.c_str(), name.c_str(), text.c_str(), path_.c_str())) {
        RaiseError(SettingsWriteErrorMessage(path_));
    }
}

} // namespace zelmo::win
