# Cross-build for 64-bit Windows with Debian's mingw-w64 (posix threading model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZELMO_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZELMO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELMO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELMO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELMO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests of the cross build run under Wine through a wrapper that brings up the prefix and the test desktops itself
# (cmake/ZelmoTestDesktops.cmake), so ctest needs no DISPLAY or WINEPREFIX from its caller.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/zelmo-wine-test ${CMAKE_BINARY_DIR}/test-env)
