// Prints the separators as a fresh process reads them from its locale (locale data is cached per
// process, so a changed registry value is only seen by a new one).
#include "platform/Locale.h"

#include <cstdio>

int main() {
    const zelmo::LocaleSeparators seps = zelmo::win::LoadLocaleSeparators();
    std::printf("%04X %04X %04X\n", static_cast<unsigned>(seps.Decimal), static_cast<unsigned>(seps.Date),
                static_cast<unsigned>(seps.Time));
    return 0;
}
