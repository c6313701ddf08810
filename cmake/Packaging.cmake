# Distribution: a zip with Zelmo3.exe and its read-me, made by `cmake --build --preset windows --target package`
# as <build dir>/Zelmo3-<version>-win64.zip. Included from the top-level CMakeLists.txt after the Zelmo3 target.

# The read-me for Windows: line ends CRLF, version filled in.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zelmo3)
set(CPACK_PACKAGE_VENDOR Zelmo3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME "Zelmo3-${PROJECT_VERSION}-win64")
# The files sit in a folder of the package's name inside the zip.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
