#pragma once
// File names of the running program's modules, however long they are.
#include <windows.h>

#include <string>

namespace zelmo::win {

// Full path of the file the module was loaded from (the executable for nullptr).
std::wstring ModuleFileName(HMODULE module);

// Full path of the running executable.
inline std::wstring ExecutablePath() {
    return ModuleFileName(nullptr);
}

} // namespace zelmo::win
