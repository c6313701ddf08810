#include "Locale.h"

#include <windows.h>

namespace zelmo::win {
namespace {

// Three units: a one- or two-character separator and its terminator. A longer value does not fit,
// the call fails and the default stays. An empty value keeps the default too: a NUL inside the line
// would cut the label's text short.
wchar_t SeparatorOrDefault(LCID locale, LCTYPE type, wchar_t fallback) noexcept {
    wchar_t buffer[3] = {};
    return ::GetLocaleInfoW(locale, type, buffer, 3) > 0 && buffer[0] != L'\0' ? buffer[0] : fallback;
}

} // namespace

LocaleSeparators LoadLocaleSeparators() {
    LCID locale = ::GetThreadLocale();
    if (locale == 0) {
        locale = 0x0409;
    }
    if (!::IsValidLocale(locale, LCID_INSTALLED)) {
        locale = ::GetThreadLocale();
    }
    const LocaleSeparators defaults;
    LocaleSeparators seps;
    seps.Decimal = SeparatorOrDefault(locale, LOCALE_SDECIMAL, defaults.Decimal);
    seps.Date = SeparatorOrDefault(locale, LOCALE_SDATE, defaults.Date);
    seps.Time = SeparatorOrDefault(locale, LOCALE_STIME, defaults.Time);
    return seps;
}

} // namespace zelmo::win
