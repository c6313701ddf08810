# Test desktops of the Windows build under Wine. Each desktop (bare, shell, icewm, dpi144) is a CTest fixture:
# desktop.<name>.up brings a private X screen, its own Wine prefix (a copy of one set-up template) and the
# desktop's shell or window manager up in the background, desktop.<name>.down takes them down. Tests that run
# on a desktop name it in ZELMO_DESKTOP, which the emulator (cmake/zelmo-wine-test) reads; they lock the desktop,
# since two programs on one desktop see each other's windows.
include(GoogleTest)

set(ZELMO_TEST_ENV_DIR ${CMAKE_BINARY_DIR}/test-env)
set(ZELMO_WINE_TEST ${CMAKE_CURRENT_LIST_DIR}/zelmo-wine-test)
# Discovery runs the test programs under Wine with --gtest_list_tests when ctest starts (and again only after a
# rebuild); the first one creates the template prefix, about half a minute on a fresh build tree.
set(ZELMO_DISCOVERY_TIMEOUT 300)

# zelmo_test_desktop(<name>): the fixture of one desktop (fixtures are found by name from every directory).
function(zelmo_test_desktop name)
    add_test(NAME desktop.${name}.up COMMAND ${ZELMO_WINE_TEST} ${ZELMO_TEST_ENV_DIR} up ${name}
                                             $<TARGET_FILE:zelmo_desktop_keeper>)
    add_test(NAME desktop.${name}.down COMMAND ${ZELMO_WINE_TEST} ${ZELMO_TEST_ENV_DIR} down ${name})
    set_tests_properties(desktop.${name}.up PROPERTIES FIXTURES_SETUP desktop_${name} RESOURCE_LOCK desktop_${name}
                                                       TIMEOUT 300)
    set_tests_properties(desktop.${name}.down PROPERTIES FIXTURES_CLEANUP desktop_${name}
                                                         RESOURCE_LOCK desktop_${name} TIMEOUT 60)
endfunction()

foreach(desktop bare shell icewm dpi144)
    zelmo_test_desktop(${desktop})
endforeach()

# zelmo_discover_tests_on_desktop(<target> <desktop> [TEST_FILTER expr] [EXTRA_ARGS args...]): every case of a
# GoogleTest program as its own CTest test <target-prefix>.<desktop>.<Suite>.<Case>, run on that desktop.
function(zelmo_discover_tests_on_desktop target desktop)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "TEST_PREFIX;TEST_FILTER" "EXTRA_ARGS")
    set(filter)
    if(ARG_TEST_FILTER)
        set(filter TEST_FILTER ${ARG_TEST_FILTER})
    endif()
    gtest_discover_tests(${target}
        TEST_PREFIX ${ARG_TEST_PREFIX}.${desktop}.
        ${filter}
        EXTRA_ARGS ${ARG_EXTRA_ARGS}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT ${ZELMO_DISCOVERY_TIMEOUT}
        PROPERTIES ENVIRONMENT ZELMO_DESKTOP=${desktop}
                   FIXTURES_REQUIRED desktop_${desktop}
                   RESOURCE_LOCK desktop_${desktop}
                   TIMEOUT 120)
    add_dependencies(${target} zelmo_desktop_keeper)
endfunction()

# zelmo_test_on_desktop(<test> <desktop>): a single CTest test of a Windows program, run on that desktop.
function(zelmo_test_on_desktop test desktop)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT ZELMO_DESKTOP=${desktop} FIXTURES_REQUIRED desktop_${desktop}
                                            RESOURCE_LOCK desktop_${desktop})
endfunction()
