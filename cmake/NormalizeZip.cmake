# Run by CPack once it has made the zip, before it copies it out and writes its checksum: the zip is written anew
# by cmake/zelmo-zip with the build's time (the variables come from cmake/Packaging.cmake). CPack goes on after a
# failing script, so a zip that cannot be written anew is removed: CPack then fails instead of passing its own.
set(seconds "")
if(EXISTS "${CPACK_ZELMO_SOURCE_DATE_FILE}")
    file(STRINGS "${CPACK_ZELMO_SOURCE_DATE_FILE}" seconds LIMIT_COUNT 1)
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    set(status "no build time in ${CPACK_ZELMO_SOURCE_DATE_FILE}")
    if(seconds MATCHES "^[0-9]+$")
        execute_process(COMMAND "${CPACK_ZELMO_PYTHON}" "${CPACK_ZELMO_ZIP_TOOL}" normalize "${package}" "${seconds}"
                        RESULT_VARIABLE status)
    endif()
    if(NOT status EQUAL 0)
        file(REMOVE "${package}")
        message(FATAL_ERROR "could not write ${package} anew (${status})")
    endif()
endforeach()
