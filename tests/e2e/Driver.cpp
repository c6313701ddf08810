// zelmo_e2e <Zelmo3.exe> <zelmo_e2e_menu.dll>: end-to-end tests of the strip program, run from outside the program.
#include "Harness.h"

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS(); // lists the cases; needs neither the program nor a display
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelmo_e2e [gtest options] <Zelmo3.exe> <zelmo_e2e_menu.dll>\n");
        return 2;
    }
    e2e::ProgramPath = zelmo::test::WindowsPath(argv[1]);
    e2e::MenuProbePath = zelmo::test::WindowsPath(argv[2]);
    for (const std::wstring* path : {&e2e::ProgramPath, &e2e::MenuProbePath}) {
        if (::GetFileAttributesW(path->c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "zelmo_e2e: %ls not found\n", path->c_str());
            return 2;
        }
    }
    if (!zelmo::test::DisplayUsable()) {
        std::fprintf(stderr, "zelmo_e2e: no X display: no window can be created, so the strip cannot be tested "
                             "(run it through ctest, whose fixtures bring the test desktops up, or set DISPLAY)\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
