# cmake -DEXE=<Zelmo3.exe> -P CheckPeHeader.cmake
# Reads the PE header of the exe and fails unless it declares Windows 6.0 as its lowest system version (OS
# and subsystem), is built for ASLR (dynamic base, high-entropy VA, relocations present), NX-compatible and
# terminal-server aware, and has no section that is both writable and executable.
if(NOT EXISTS "${EXE}")
    message(FATAL_ERROR "no such file: ${EXE}")
endif()

# Little-endian unsigned integer of <bytes> bytes at <offset>, which may be a sum such as "${base} + 40".
function(read_uint offset bytes out)
    math(EXPR offset "${offset}")
    file(READ "${EXE}" hex OFFSET ${offset} LIMIT ${bytes} HEX)
    string(LENGTH "${hex}" length)
    math(EXPR wanted "${bytes} * 2")
    if(NOT length EQUAL wanted)
        message(FATAL_ERROR "${EXE}: truncated at offset ${offset}")
    endif()
    set(value 0)
    math(EXPR last "${bytes} - 1")
    foreach(i RANGE ${last} 0 -1)
        math(EXPR pos "${i} * 2")
        string(SUBSTRING "${hex}" ${pos} 2 byte)
        math(EXPR value "(${value} << 8) + 0x${byte}")
    endforeach()
    set(${out} ${value} PARENT_SCOPE)
endfunction()

set(failures "")
function(expect what actual expected)
    if(NOT "${actual}" STREQUAL "${expected}")
        set(failures "${failures}\n  ${what}: ${actual}, expected ${expected}" PARENT_SCOPE)
    endif()
endfunction()

read_uint(0 2 mz)
expect("DOS signature" ${mz} 23117) # "MZ"
read_uint(60 4 pe)
read_uint(${pe} 4 signature)
expect("PE signature" ${signature} 17744) # "PE\0\0"
math(EXPR coff "${pe} + 4")
read_uint("${coff} + 2" 2 sections)
read_uint("${coff} + 16" 2 optional_size)
math(EXPR optional "${coff} + 20")
read_uint(${optional} 2 magic)
expect("optional header magic (PE32+)" ${magic} 523) # 0x20B

read_uint("${optional} + 40" 2 os_major)
read_uint("${optional} + 42" 2 os_minor)
read_uint("${optional} + 48" 2 subsystem_major)
read_uint("${optional} + 50" 2 subsystem_minor)
expect("OS version" "${os_major}.${os_minor}" "6.0")
expect("subsystem version" "${subsystem_major}.${subsystem_minor}" "6.0")

read_uint("${optional} + 70" 2 dll_characteristics)
foreach(flag IN ITEMS "HIGH_ENTROPY_VA:32" "DYNAMIC_BASE:64" "NX_COMPAT:256" "TERMINAL_SERVER_AWARE:32768")
    string(REPLACE ":" ";" flag "${flag}")
    list(GET flag 0 name)
    list(GET flag 1 bit)
    math(EXPR set "${dll_characteristics} & ${bit}")
    expect("DllCharacteristics ${name}" ${set} ${bit})
endforeach()

# Data directory 5 (base relocations) of a PE32+ optional header: a dynamic base needs them.
read_uint("${optional} + 112 + 5 * 8 + 4" 4 relocation_size)
if(relocation_size EQUAL 0)
    set(failures "${failures}\n  no base relocations (a dynamic base needs them)")
endif()

math(EXPR table "${optional} + ${optional_size}")
math(EXPR last "${sections} - 1")
foreach(i RANGE 0 ${last})
    math(EXPR entry "${table} + ${i} * 40")
    file(READ "${EXE}" name_hex OFFSET ${entry} LIMIT 8 HEX)
    string(REGEX REPLACE "(00)+$" "" name_hex "${name_hex}")
    math(EXPR at "${entry} + 36")
    read_uint(${at} 4 characteristics)
    # IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_EXECUTE
    math(EXPR write_execute "${characteristics} & 0xA0000000")
    if(write_execute EQUAL 2684354560)
        set(failures "${failures}\n  section ${i} (name bytes ${name_hex}) is writable and executable")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "${EXE}:${failures}")
endif()
math(EXPR dll_characteristics "${dll_characteristics}" OUTPUT_FORMAT HEXADECIMAL)
message(STATUS "${EXE}: Windows ${os_major}.${os_minor}, subsystem ${subsystem_major}.${subsystem_minor}, "
               "DllCharacteristics ${dll_characteristics}, ${sections} sections, none writable and executable")
