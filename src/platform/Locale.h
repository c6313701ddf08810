#pragma once
// The locale's decimal, date and time separators.
#include "status/Format.h"

namespace zelmo::win {

// The separators of the thread's locale; a field the locale cannot supply keeps its default.
LocaleSeparators LoadLocaleSeparators();

} // namespace zelmo::win
