# Runs one end-to-end case: PROGRAM reads INPUT on standard input, and its standard output must
# equal EXPECTED byte for byte, with exit status 0. Given ACTUAL instead, the file of a run made
# elsewhere (by a shell case), it only compares.
#
#   cmake -DPROGRAM=... -DINPUT=... -DEXPECTED=... [-DEMULATOR=...] [-DCRLF=ON] -P run_case.cmake
#   cmake -DACTUAL=... -DEXPECTED=... [-DCRLF=ON] -P run_case.cmake
#
# EMULATOR runs a program built for another platform; CRLF expects the line ends of a Windows
# console, whose text mode writes each line feed as CR LF: this is the one place where they are
# made. The output goes to a file, and both sides are compared in hex: a CMake string ends at a
# NUL byte, which a name may hold, and CMake would turn each CR LF that it captured into LF.

# The bytes of FILE in hex, each line feed written as CR LF. The file is read as text from one NUL
# byte to the next.
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

if(NOT ACTUAL)
    get_filename_component(name ${EXPECTED} NAME_WE)
    set(ACTUAL ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
    execute_process(
        COMMAND ${EMULATOR} ${PROGRAM}
        INPUT_FILE ${INPUT}
        OUTPUT_FILE ${ACTUAL}
        RESULT_VARIABLE status)
    if(NOT status STREQUAL "0")
        message(FATAL_ERROR "exit status ${status}, expected 0")
    endif()
endif()

if(CRLF)
    hex_with_crlf(${EXPECTED} expected)
    set(diff_options --strip-trailing-cr)
else()
    file(READ ${EXPECTED} expected HEX)
endif()
file(READ ${ACTUAL} actual HEX)
if(NOT actual STREQUAL expected)
    execute_process(COMMAND diff -u --text ${diff_options} ${EXPECTED} ${ACTUAL})
    message(FATAL_ERROR "standard output differs from ${EXPECTED}")
endif()
