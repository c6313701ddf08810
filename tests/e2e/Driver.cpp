// zelmo_e2e <Zelmo3.exe> <zelmo_e2e_menu.dll>: end-to-end tests of the strip program, run from outside the program.
#include "Harness.h"

#include <cstdio>

namespace {

// A host path such as /work/build/Zelmo3.exe is drive Z: under Wine.
std::wstring WindowsPath(const char* path) {
    std::wstring wide;
    for (const char* p = path; *p != '\0'; ++p) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    if (!wide.empty() && wide.front() == L'/') {
        for (wchar_t& c : wide) {
            c = c == L'/' ? L'\\' : c;
        }
        wide.insert(0, L"Z:");
    }
    return wide;
}

// Without a display (Wine with no X server) no window can be created and the tests cannot run.
bool DisplayUsable() {
    if (::GetSystemMetrics(SM_CXSCREEN) == 0) {
        return false;
    }
    const HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr) {
        return false;
    }
    ::DestroyWindow(probe);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS(); // lists the cases; needs neither the program nor a display
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelmo_e2e [gtest options] <Zelmo3.exe> <zelmo_e2e_menu.dll>\n");
        return 2;
    }
    e2e::ProgramPath = WindowsPath(argv[1]);
    e2e::MenuProbePath = WindowsPath(argv[2]);
    for (const std::wstring* path : {&e2e::ProgramPath, &e2e::MenuProbePath}) {
        if (::GetFileAttributesW(path->c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "zelmo_e2e: %ls not found\n", path->c_str());
            return 2;
        }
    }
    if (!DisplayUsable()) {
        std::fprintf(stderr, "zelmo_e2e: no X display: no window can be created, so the strip cannot be tested "
                             "(run it through ctest, whose fixtures bring the test desktops up, or set DISPLAY)\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
