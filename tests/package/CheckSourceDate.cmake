# cmake -DSCRIPT=<cmake/SourceDate.cmake> -DGIT=<git> -DWORK=<dir> -P CheckSourceDate.cmake
# The build's time as the build takes it, from each source: SOURCE_DATE_EPOCH wins over the commit and must be a
# whole number; the commit checked out gives its committer time; a tree without a repository of its own (also one
# unpacked inside another checkout) gets the fixed time, 1980-01-01 00:00 UTC.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/repo/unpacked ${WORK}/plain)
execute_process(COMMAND ${GIT} init -q WORKING_DIRECTORY ${WORK}/repo RESULT_VARIABLE status)
execute_process(COMMAND ${CMAKE_COMMAND} -E env "GIT_COMMITTER_DATE=@1700000000 +0000"
                        ${GIT} -c user.name=zelmo -c user.email=zelmo@invalid commit -q --allow-empty -m one
                WORKING_DIRECTORY ${WORK}/repo RESULT_VARIABLE commit_status)
if(NOT status EQUAL 0 OR NOT commit_status EQUAL 0)
    message(FATAL_ERROR "could not make the test repository in ${WORK}/repo")
endif()

# tree | SOURCE_DATE_EPOCH (- for none) | git (- for none) | expected time, or "error"
set(cases
    "repo|-|${GIT}|1700000000"
    "repo|42|${GIT}|42"
    "plain|42|-|42"
    "repo|-|-|315532800"
    "plain|-|${GIT}|315532800"
    "repo/unpacked|-|${GIT}|315532800"
    "repo|12abc|${GIT}|error")
set(failures "")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 tree)
    list(GET fields 1 epoch)
    list(GET fields 2 git)
    list(GET fields 3 expected)
    set(environment --unset=SOURCE_DATE_EPOCH)
    if(NOT epoch STREQUAL "-")
        set(environment SOURCE_DATE_EPOCH=${epoch})
    endif()
    if(git STREQUAL "-")
        set(git "")
    endif()
    file(REMOVE ${WORK}/time.txt)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK}/${tree}
                            -DGIT=${git} -DOUTPUT=${WORK}/time.txt -P ${SCRIPT}
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    set(actual "error")
    if(status EQUAL 0)
        file(STRINGS ${WORK}/time.txt actual)
    endif()
    if(NOT actual STREQUAL expected)
        string(APPEND failures "\n  ${case}: ${actual}")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "the build's time (tree|SOURCE_DATE_EPOCH|git|expected: actual):${failures}")
endif()
message(STATUS "the build's time from SOURCE_DATE_EPOCH, the commit and the fixed time: ${cases}")
