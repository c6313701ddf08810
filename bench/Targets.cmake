# zelmo_bench_target(<value key> <out var>): the target of the figure with that key in targets.json, for builds
# whose programs judge a figure themselves (the soak); the file is the one place of every target.
set(ZELMO_BENCH_TARGETS ${CMAKE_CURRENT_LIST_DIR}/targets.json)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZELMO_BENCH_TARGETS})

function(zelmo_bench_target key out)
    file(READ ${ZELMO_BENCH_TARGETS} json)
    string(JSON count LENGTH "${json}" figures)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
        string(JSON value GET "${json}" figures ${i} value)
        if(value STREQUAL key)
            string(JSON target GET "${json}" figures ${i} target)
            set(${out} ${target} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "${ZELMO_BENCH_TARGETS} has no figure \"${key}\"")
endfunction()
