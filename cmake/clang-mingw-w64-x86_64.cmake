# The Windows build compiled by clang as a second compiler: the same target, mingw-w64's headers and the
# libstdc++ of the real build's compiler (x86_64-w64-mingw32-g++-posix), so that both read the same code.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${ZELMO_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${ZELMO_MINGW_PREFIX})
# clang cannot link for mingw-w64 here without more set-up than the check is worth: it compiles, and CMake's
# compiler check builds a library instead of a program.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# g++'s own search list: its libstdc++ folders and the mingw-w64 headers. GCC's private folders (intrinsics,
# stddef.h) stay out, since clang brings its own.
execute_process(COMMAND ${ZELMO_MINGW_PREFIX}-g++-posix -xc++ -E -v /dev/null OUTPUT_QUIET ERROR_VARIABLE search
                RESULT_VARIABLE status)
string(REGEX MATCH "<...> search starts here:\n(.*)\nEnd of search list" search "${search}")
string(REGEX MATCHALL "[^\n ]+" search "${CMAKE_MATCH_1}")
set(flags "-nostdinc++ -nostdlibinc")
foreach(dir IN LISTS search)
    file(REAL_PATH "${dir}" dir)
    if(dir MATCHES "/include/c\\+\\+(/|$)" OR NOT dir MATCHES "^/usr/lib/gcc/")
        string(APPEND flags " -isystem ${dir}")
    endif()
endforeach()
if(NOT status EQUAL 0 OR NOT flags MATCHES "/include/c\\+\\+")
    message(FATAL_ERROR "could not read the include folders of ${ZELMO_MINGW_PREFIX}-g++-posix")
endif()
set(CMAKE_CXX_FLAGS_INIT "${flags}")
