# The one time a build writes into its outputs (the exe's header, the zip's entries), so that the bytes depend on
# the commit and not on when or where it was built: SOURCE_DATE_EPOCH from the environment when it is set (the
# reproducible-builds convention), else the committer time of the commit checked out in the source tree, else a
# fixed time. In seconds since 1970-01-01 00:00 UTC.
#
# Included: zelmo_source_date(<source dir> <git or empty> <out var> <origin out var>).
# As a script, at every build:
#   cmake -DSOURCE_DIR=<dir> -DGIT=<git> -DOUTPUT=<file> -P SourceDate.cmake
#       writes the time into <file>, touching it only when it changed (what links and packages depend on);
#   cmake -DSOURCE_DATE_FILE=<file> -P SourceDate.cmake -- <command...>
#       runs the command (the linker) with SOURCE_DATE_EPOCH set to the time in <file>.

# 1980-01-01 00:00 UTC: the earliest time a zip entry can carry.
set(ZELMO_FIXED_SOURCE_DATE 315532800)

function(zelmo_source_date source_dir git out_var origin_var)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
            message(FATAL_ERROR "SOURCE_DATE_EPOCH is \"$ENV{SOURCE_DATE_EPOCH}\", not a whole number of seconds")
        endif()
        set(${out_var} "$ENV{SOURCE_DATE_EPOCH}" PARENT_SCOPE)
        set(${origin_var} "SOURCE_DATE_EPOCH" PARENT_SCOPE)
        return()
    endif()
    if(git)
        # Only the source tree's own repository counts: a tree unpacked inside another checkout is not a commit.
        execute_process(COMMAND "${git}" rev-parse --show-toplevel WORKING_DIRECTORY "${source_dir}"
                        OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
        if(status EQUAL 0)
            file(REAL_PATH "${top}" top)
            file(REAL_PATH "${source_dir}" source_dir)
        endif()
        if(status EQUAL 0 AND top STREQUAL source_dir)
            execute_process(COMMAND "${git}" log -1 --format=%ct HEAD WORKING_DIRECTORY "${source_dir}"
                            OUTPUT_VARIABLE time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
            if(status EQUAL 0 AND time MATCHES "^[0-9]+$")
                set(${out_var} "${time}" PARENT_SCOPE)
                set(${origin_var} "commit" PARENT_SCOPE)
                return()
            endif()
        endif()
    endif()
    set(${out_var} "${ZELMO_FIXED_SOURCE_DATE}" PARENT_SCOPE)
    set(${origin_var} "fixed" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    if(DEFINED OUTPUT)
        zelmo_source_date("${SOURCE_DIR}" "${GIT}" time origin)
        set(old "")
        if(EXISTS "${OUTPUT}")
            file(READ "${OUTPUT}" old)
        endif()
        if(NOT old STREQUAL "${time}\n")
            file(WRITE "${OUTPUT}" "${time}\n")
        endif()
    elseif(DEFINED SOURCE_DATE_FILE)
        file(STRINGS "${SOURCE_DATE_FILE}" time LIMIT_COUNT 1)
        # The command is everything after "--".
        set(command "")
        set(after_separator FALSE)
        math(EXPR last "${CMAKE_ARGC} - 1")
        foreach(i RANGE ${last})
            if(after_separator)
                list(APPEND command "${CMAKE_ARGV${i}}")
            elseif(CMAKE_ARGV${i} STREQUAL "--")
                set(after_separator TRUE)
            endif()
        endforeach()
        set(ENV{SOURCE_DATE_EPOCH} "${time}")
        execute_process(COMMAND ${command} RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            list(GET command 0 program)
            message(FATAL_ERROR "${program} failed: ${status}")
        endif()
    else()
        message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<dir> -DGIT=<git> -DOUTPUT=<file> -P SourceDate.cmake, or "
                            "cmake -DSOURCE_DATE_FILE=<file> -P SourceDate.cmake -- <command...>")
    endif()
endif()
