# Distribution: a zip with Zelmo3.exe, its read-mes in English and Japanese and the licence, made by
# `cmake --build --preset windows --target package` as <build dir>/Zelmo3-<version>-win64.zip, with its SHA-256
# checksum beside it in <build dir>/Zelmo3-<version>-win64.zip.sha256 ("<hash>  <zip name>", the format of
# `cmake -E sha256sum` and `sha256sum -c`). Included from the top-level CMakeLists.txt after the Zelmo3 target.

# The read-mes for Windows: UTF-8 with a byte order mark (kept from the sources), line ends CRLF, version filled in.
set(ZELMO_PACKAGE_READMES README.txt README-ja.txt)
foreach(readme IN LISTS ZELMO_PACKAGE_READMES)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/${readme} ${CMAKE_BINARY_DIR}/packaging/${readme} @ONLY
                   NEWLINE_STYLE CRLF)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${readme} DESTINATION .)
endforeach()
# The licence as LICENSE.txt with CRLF line ends, so that a double-click opens it in any Notepad.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zelmo3)
set(CPACK_PACKAGE_VENDOR Zelmo3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The zip's name without ".zip"; the package test reads it here (include(CPack) changes CPACK_PACKAGE_FILE_NAME).
set(ZELMO_PACKAGE_NAME "Zelmo3-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_FILE_NAME ${ZELMO_PACKAGE_NAME})
# The files sit in a folder of the package's name inside the zip.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
# CPack writes <zip>.sha256 beside the zip whenever it makes the package.
set(CPACK_PACKAGE_CHECKSUM SHA256)
# The same commit gives the same zip, byte for byte: before the checksum, cmake/zelmo-zip writes it anew with the
# members in order and the build's time (the variables reach the script through CPackConfig.cmake).
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
    set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/NormalizeZip.cmake)
    set(CPACK_ZELMO_PYTHON ${Python3_EXECUTABLE})
    set(CPACK_ZELMO_ZIP_TOOL ${PROJECT_SOURCE_DIR}/cmake/zelmo-zip)
    set(CPACK_ZELMO_SOURCE_DATE_FILE ${ZELMO_SOURCE_DATE_FILE})
else()
    message(WARNING "Python 3 not found: the zip is CPack's own, with this machine's file order, owner and times")
endif()
include(CPack)
