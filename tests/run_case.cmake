# Runs one golden case: PROGRAM (under EMULATOR, for another platform) reads INPUT, and its
# standard output must equal EXPECTED byte for byte (with CR LF line ends where CRLF is on, as a
# Windows console writes them), with exit status 0. Both sides are compared in hex: a CMake string
# ends at a NUL byte, which a name may hold.

# The bytes of FILE in hex, each line feed as CR LF, read as text from one NUL byte to the next.
function(hex_with_crlf file out)
    file(SIZE ${file} size)
    set(hex "")
    set(offset 0)
    while(offset LESS size)
        file(READ ${file} text OFFSET ${offset})
        string(LENGTH "${text}" length)
        string(REPLACE "\n" "\r\n" text "${text}")
        string(HEX "${text}" text)
        string(APPEND hex "${text}")
        math(EXPR offset "${offset} + ${length}")
        if(offset LESS size)
            string(APPEND hex "00")
            math(EXPR offset "${offset} + 1")
        endif()
    endwhile()
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

get_filename_component(name ${EXPECTED} NAME_WE)
set(actual ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} INPUT_FILE ${INPUT} OUTPUT_FILE ${actual}
    RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
    message(FATAL_ERROR "exit status ${status}, expected 0")
endif()
if(CRLF)
    hex_with_crlf(${EXPECTED} expected)
    set(diff_options --strip-trailing-cr)
else()
    file(READ ${EXPECTED} expected HEX)
endif()
file(READ ${actual} actual HEX)
if(NOT actual STREQUAL expected)
    execute_process(COMMAND diff -u --text ${diff_options} ${EXPECTED} ${actual})
    message(FATAL_ERROR "standard output differs from ${EXPECTED}")
endif()
