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
include(CPack)
