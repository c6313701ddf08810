# Makes the package in WORK with CPack (CONFIG) and checks it: NAME.zip holds exactly the exe, the English and
# Japanese read-mes and the licence in its top folder NAME; each read-me is UTF-8 with a byte order mark and CRLF
# line ends, names VERSION on its first line, names the licence file and quotes every access-key caption of the
# menu (MENU) as the menu shows it; the Japanese one fits 76 columns; the licence is the MIT licence of the Zelmo3
# authors; the checksum file beside the zip reads "<SHA-256 of the zip>  NAME.zip".
function(fail what)
    message(FATAL_ERROR "package ${NAME}: ${what}")
endfunction()

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${WORK} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    fail("cpack failed:\n${out}")
endif()
set(zip ${WORK}/${NAME}.zip)
file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${WORK}/unpacked)
file(GLOB_RECURSE files RELATIVE ${WORK}/unpacked ${WORK}/unpacked/*)
list(SORT files)
if(NOT files STREQUAL "${NAME}/LICENSE.txt;${NAME}/README-ja.txt;${NAME}/README.txt;${NAME}/Zelmo3.exe")
    fail("holds [${files}]")
endif()

# "表示位置(&P)" in the menu's source is shown as 表示位置(P).
file(STRINGS ${MENU} captions ENCODING UTF-8 REGEX "L\"[^\"]*\\(&[A-Z]\\)\"")
list(TRANSFORM captions REPLACE "^.*L\"([^\"]*)\\(&([A-Z])\\)\".*$" "\\1(\\2)")
list(LENGTH captions count)
if(count LESS 10)
    fail("found ${count} access-key captions in ${MENU}")
endif()
string(REPLACE "." "\\." version "${VERSION}")
foreach(readme README.txt README-ja.txt)
    # file(READ) drops CRs, so the bytes are read in hexadecimal, two digits and a blank a byte: with every
    # CR LF taken out, no LF may remain.
    file(READ ${WORK}/unpacked/${NAME}/${readme} bytes HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
    string(REPLACE "0d 0a " "" bare_lf "${bytes}")
    file(READ ${WORK}/unpacked/${NAME}/${readme} text)
    if(NOT bytes MATCHES "^ef bb bf " OR bare_lf MATCHES "0a " OR NOT text MATCHES "^[^\n]*Zelmo3 ${version}[^.0-9]")
        fail("${readme}: no byte order mark, a line end without CR, or no Zelmo3 ${VERSION} on the first line")
    endif()
    foreach(caption IN LISTS captions ITEMS LICENSE.txt)
        string(FIND "${text}" "${caption}" at)
        if(at EQUAL -1)
            fail("${readme} does not name ${caption}")
        endif()
    endforeach()
endforeach()

# The Japanese read-me is wrapped to fit Notepad at 76 columns, a full-width character counting two; the sample
# status line, a single line on the screen, stays whole. Counted on the bytes: UTF-8 continuation bytes (80-bf)
# count nothing, the lead byte of a three- or four-byte character two, any other byte one.
file(READ ${WORK}/unpacked/${NAME}/README-ja.txt bytes HEX)
string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
string(REGEX REPLACE "^ef bb bf " "" bytes "${bytes}")
string(REPLACE "0d 0a " ";" lines "${bytes}")
set(number 0)
foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    string(REGEX REPLACE "[89ab]. " "" columns "${line}")
    string(REGEX REPLACE "[ef]. " "WW" columns "${columns}")
    string(REGEX REPLACE "[0-9a-d]. " "W" columns "${columns}")
    string(LENGTH "${columns}" width)
    # "   [C] " starts the sample line.
    if(width GREATER 76 AND NOT line MATCHES "^20 20 20 5b 43 5d 20 ")
        fail("README-ja.txt: line ${number} is ${width} columns wide, more than 76")
    endif()
endforeach()

string(HEX "MIT License\r\n\r\nCopyright (c) 2026 the Zelmo3 authors\r\n" licence_start)
file(READ ${WORK}/unpacked/${NAME}/LICENSE.txt licence HEX)
string(FIND "${licence}" "${licence_start}" at)
if(NOT at EQUAL 0)
    fail("LICENSE.txt is not the MIT licence of the Zelmo3 authors with CRLF line ends")
endif()

file(SHA256 ${zip} hash)
file(STRINGS ${zip}.sha256 checksum)
if(NOT checksum STREQUAL "${hash}  ${NAME}.zip")
    fail("${NAME}.zip.sha256 reads \"${checksum}\", expected \"${hash}  ${NAME}.zip\"")
endif()
message(STATUS "${NAME}.zip: ${files}; menu captions [${captions}] in both read-mes; checksum ${hash}")
