# What the cross builds for Windows with Debian's mingw-w64 share. A toolchain file sets
# CMAKE_SYSTEM_PROCESSOR, mingw_target (the compilers' prefix), mingw_emulator (the Wine that
# runs the results) and EMULATOR_PACKAGE (the Debian package that has that Wine), then includes
# this one.

set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: the win32 one of GCC 12 has no std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${mingw_target}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_target}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_target}-windres)

# Libraries, headers and packages come from the target's tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and the thread library are linked in, so that an .exe runs on any Windows
# machine without the compiler's DLLs beside it. The linker would stamp the time of the build
# into the header, and the same source would give different bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")

# Wine keeps its state in a prefix. Each build folder has one of its own, which configure's probe
# makes and every test uses, so that HOME is left alone. The overrides keep Wine from offering to
# install Mono and Gecko, and from adding menu entries, as it makes the prefix.
find_program(WINE64 wine64 PATHS /usr/lib/wine)
find_program(WINESERVER wineserver PATHS /usr/lib/wine)
set(EMULATOR_STATE ${CMAKE_BINARY_DIR}/wine)
set(wine env WINEPREFIX=${EMULATOR_STATE} WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine} ${mingw_emulator})
# Wine's server and services start before the first test and stop after the last, with their
# output in a file: a service that a test started would hold that test's output open, and CTest
# would wait for it. A server that an interrupted run left behind is stopped first.
set(EMULATOR_SETUP ${wine} sh -c
    "exec >wine.log 2>&1 && (${WINESERVER} -k || :) && ${WINESERVER} -p && ${WINE64} wineboot.exe")
set(EMULATOR_CLEANUP ${wine} ${WINESERVER} -k)
