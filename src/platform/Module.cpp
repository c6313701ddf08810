#include "Module.h"

#include "ErrorDisplay.h"

namespace zelmo::win {

std::wstring ModuleFileName(HMODULE module) {
    // Grow the buffer while the name does not fit: paths may be longer than MAX_PATH.
    std::wstring path(256, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD n = ::GetModuleFileNameW(module, path.data(), size);
        if (n == 0) {
            RaiseLastError(ErrorText::ModuleName);
        }
        if (n < size) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace zelmo::win
