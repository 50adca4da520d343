# Runs one end-to-end case: PROGRAM reads INPUT on standard input, and its standard output must
# equal EXPECTED byte for byte, with exit status 0.
#
#   cmake -DPROGRAM=... -DINPUT=... -DEXPECTED=... [-DEMULATOR=...] [-DCRLF=ON] -P run_case.cmake
#
# EMULATOR runs a program built for another platform; CRLF expects the line ends of a Windows
# console, whose text mode writes each line feed as CR LF. The output goes to a file, not to a
# variable: CMake would turn each CR LF it captures into LF.

get_filename_component(name ${EXPECTED} NAME_WE)
set(actual_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)

execute_process(
    COMMAND ${EMULATOR} ${PROGRAM}
    INPUT_FILE ${INPUT}
    OUTPUT_FILE ${actual_file}
    RESULT_VARIABLE status)

if(NOT status STREQUAL "0")
    message(FATAL_ERROR "exit status ${status}, expected 0")
endif()

set(expected_file ${EXPECTED})
if(CRLF)
    file(READ ${EXPECTED} expected)
    string(REPLACE "\n" "\r\n" expected "${expected}")
    set(expected_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.expected)
    file(WRITE ${expected_file} "${expected}")
endif()

execute_process(
    COMMAND ${CMAKE_COMMAND} -E compare_files ${expected_file} ${actual_file}
    RESULT_VARIABLE different)
if(different)
    execute_process(COMMAND diff -u ${expected_file} ${actual_file})
    message(FATAL_ERROR "standard output differs from ${expected_file}")
endif()
