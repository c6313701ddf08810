// The separators read from the user's regional settings, including values that do not fit.
#include "platform/Handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace zelmo::win {
namespace {

// Sets one value under HKCU\Control Panel\International for the life of the object.
class InternationalValue {
public:
    InternationalValue(const wchar_t* name, const std::wstring& value) : name_(name) {
        ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0, KEY_READ | KEY_WRITE, &key_);
        DWORD size = sizeof(saved_);
        hadValue_ =
            ::RegQueryValueExW(key_, name_, nullptr, nullptr, reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
        Set(value.c_str());
    }
    ~InternationalValue() {
        if (hadValue_) {
            Set(saved_);
        } else {
            ::RegDeleteValueW(key_, name_);
        }
        ::RegCloseKey(key_);
    }

private:
    void Set(const wchar_t* value) {
        ::RegSetValueExW(key_, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    const wchar_t* name_;
    wchar_t saved_[64] = {};
    bool hadValue_ = false;
};

// Runs the printer beside this test and returns its three code units.
std::string SeparatorsOfANewProcess() {
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"zelmo_print_separators.exe";

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readRaw = nullptr, writeRaw = nullptr;
    if (!::CreatePipe(&readRaw, &writeRaw, &inherit, 0)) {
        return "no pipe";
    }
    UniqueHandle readEnd(readRaw), writeEnd(writeRaw);
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd.get();
    si.hStdError = writeEnd.get();
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        return "not started";
    }
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();
    std::string out;
    char buffer[64];
    DWORD n = 0;
    while (::ReadFile(readEnd.get(), buffer, sizeof(buffer), &n, nullptr) && n > 0) {
        out.append(buffer, n);
    }
    ::WaitForSingleObject(process.get(), 10000);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

TEST(LocaleSeparators, FirstUnitOfTheUsersValueOrTheDefault) {
    // Windows keeps the separators in sDate and sTime; Wine derives them from the short date and
    // time formats. Both are set, so the test means the same on either.
    struct Case {
        const wchar_t* Decimal;
        const wchar_t* Date;
        const wchar_t* ShortDate;
        const wchar_t* Time;
        const wchar_t* TimeFormat;
        const char* Expected;
    };
    const Case cases[] = {
        {L",", L".", L"yyyy.MM.dd", L"-", L"HH-mm-ss", "002C 002E 002D"},
        // A two-character separator gives its first character.
        {L".", L". ", L"yyyy. MM. dd", L":", L"HH:mm:ss", "002E 002E 003A"},
        // Three characters do not fit the buffer, and an empty separator is none: the defaults.
        {L"#", L"abc", L"yyyyabcMMabcdd", L"", L"HHh:mmmh:mss", "0023 002F 003A"},
    };
    for (const Case& c : cases) {
        InternationalValue decimal(L"sDecimal", c.Decimal);
        InternationalValue date(L"sDate", c.Date);
        InternationalValue shortDate(L"sShortDate", c.ShortDate);
        InternationalValue time(L"sTime", c.Time);
        InternationalValue timeFormat(L"sTimeFormat", c.TimeFormat);
        EXPECT_EQ(SeparatorsOfANewProcess(), c.Expected) << c.ShortDate;
    }
}

} // namespace
} // namespace zelmo::win
