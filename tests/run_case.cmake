# Runs one end-to-end case: PROGRAM reads INPUT on standard input, and its standard output must
# equal EXPECTED byte for byte, with exit status 0.
#
#   cmake -DPROGRAM=... -DINPUT=... -DEXPECTED=... [-DEMULATOR=...] [-DCRLF=ON] -P run_case.cmake
#
# EMULATOR runs a program built for another platform; CRLF expects the line ends of a Windows
# console, whose text mode writes each line feed as CR LF.

execute_process(
    COMMAND ${EMULATOR} ${PROGRAM}
    INPUT_FILE ${INPUT}
    OUTPUT_VARIABLE actual
    RESULT_VARIABLE status)

file(READ ${EXPECTED} expected)
if(CRLF)
    string(REPLACE "\n" "\r\n" expected "${expected}")
endif()

if(NOT status STREQUAL "0")
    message(FATAL_ERROR "exit status ${status}, expected 0")
endif()

if(NOT actual STREQUAL expected)
    get_filename_component(name ${EXPECTED} NAME_WE)
    set(expected_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.expected)
    set(actual_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
    file(WRITE ${expected_file} "${expected}")
    file(WRITE ${actual_file} "${actual}")
    execute_process(COMMAND diff -u --text ${expected_file} ${actual_file})
    message(FATAL_ERROR "standard output differs from ${EXPECTED}")
endif()
