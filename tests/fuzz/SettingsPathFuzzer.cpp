// Fuzzes the derivation of the settings file path from the executable's path. The result must be the
// input, with at most its last extension removed, plus ".ini"; the removed part is one "." and a tail
// without ".", "\" or ":", and an input is left whole only when its last name has no "." at all.
#include "FuzzInput.h"

#include "status/Settings.h"

using zelmo::fuzz::Require;

namespace {

constexpr std::wstring_view Ini = L".ini";

void Check(std::wstring_view exe) {
    const std::wstring path = zelmo::SettingsPathFromExePath(exe);
    const std::wstring_view result = path;

    Require(result.size() >= Ini.size() && result.substr(result.size() - Ini.size()) == Ini,
            "the settings path ends with .ini", exe);
    const std::wstring_view kept = result.substr(0, result.size() - Ini.size());
    Require(exe.substr(0, kept.size()) == kept, "the part before .ini is a prefix of the executable's path", exe);

    // Where the last name of the path starts: after its last "\" or ":" ("/" is no separator here).
    const std::size_t separator = exe.find_last_of(L"\\:");
    const std::size_t nameStart = separator == std::wstring_view::npos ? 0 : separator + 1;
    const bool nameHasDot = exe.find(L'.', nameStart) != std::wstring_view::npos;

    if (kept.size() == exe.size()) {
        Require(!nameHasDot, "a path is kept whole only when its last name has no \".\"", exe);
        return;
    }
    const std::wstring_view removed = exe.substr(kept.size());
    Require(removed.front() == L'.', "the removed part starts with \".\"", exe);
    Require(removed.substr(1).find_first_of(L".\\:") == std::wstring_view::npos,
            "no \".\", \"\\\" or \":\" follows the removed \".\"", exe);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelmo::fuzz::InputReader in(data, size);
    const std::uint8_t mode = in.Byte();
    Check(in.Utf16Rest((mode & 1) == 0));
    return 0;
}
