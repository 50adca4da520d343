# A build for another platform runs its tests under an emulator (Wine), which not every machine
# can run: where a program of the target does not write under it what it was built to write, the
# tests are left out, and configure and CTest say why in one line.
if(CMAKE_CROSSCOMPILING_EMULATOR)
    set(probe ${CMAKE_CURRENT_BINARY_DIR}/emulator-probe)
    file(WRITE ${probe}.cpp "#include <cstdio>\nint main() { std::fputs(\"ran\", stdout); }\n")
    try_compile(probe_built ${probe} ${probe}.cpp COPY_FILE ${probe}${CMAKE_EXECUTABLE_SUFFIX})
    # Into files: a service of the emulator that the probe starts may hold a pipe open long after.
    execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${probe}${CMAKE_EXECUTABLE_SUFFIX}
        RESULT_VARIABLE status OUTPUT_FILE ${probe}.out ERROR_FILE ${probe}.err)
    file(READ ${probe}.out said)
    if(NOT said STREQUAL "ran")
        list(GET CMAKE_CROSSCOMPILING_EMULATOR -1 emulator)
        # 126: the loader is there, but the kernel cannot execute it; no package helps there.
        if(status STREQUAL "126")
            set(remedy "this machine's kernel cannot run ${EMULATOR_PROGRAMS} programs, so \
Wine's loader for them cannot start; the build itself is still made and checked")
        else()
            set(remedy "install ${EMULATOR_PACKAGE} and configure again, as docs/building.md \
tells under Windows")
        endif()
        set(not_run "The tests were left out: this machine cannot run programs for \
${CMAKE_SYSTEM_PROCESSOR} with ${emulator}, which ran a test program with status ${status} and \
'${said}' on standard output (${probe}.err holds what it said); ${remedy}")
        # The emulator's state cannot run the target: the next configure makes it anew.
        file(REMOVE_RECURSE ${EMULATOR_STATE})
        message(STATUS "${not_run}")
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/not-run.cmake "message([==[${not_run}]==])\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
            ${CMAKE_CURRENT_BINARY_DIR}/not-run.cmake)
        add_test(NAME tests-left-out COMMAND ${CMAKE_COMMAND} -P not-run.cmake)
        set_tests_properties(tests-left-out PROPERTIES SKIP_REGULAR_EXPRESSION "left out")
        set(tests_left_out ON)
    else()
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/not-run.cmake)
    endif()
endif()
