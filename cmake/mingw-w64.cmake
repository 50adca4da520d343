# What the cross builds for Windows with Debian's mingw-w64 share, for a toolchain file that sets
# mingw_target (the compilers' prefix) and mingw_emulator (the Wine that runs the results).

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

# Each build folder has a Wine prefix of its own, so that HOME is left alone; the overrides keep
# Wine from offering Mono and Gecko, and from adding menu entries, as it makes it.
find_program(WINE64 wine64 PATHS /usr/lib/wine)
find_program(WINESERVER wineserver PATHS /usr/lib/wine)
set(EMULATOR_STATE ${CMAKE_BINARY_DIR}/wine)
set(wine env WINEPREFIX=${EMULATOR_STATE} WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine} ${mingw_emulator})
# Wine's server and services start before the first test, with their output in a file (a service
# would hold a test's output open), after any server that an interrupted run left behind stops.
set(EMULATOR_SETUP ${wine} sh -c
    "exec >wine.log 2>&1 && (${WINESERVER} -k || :) && ${WINESERVER} -p && ${WINE64} wineboot.exe")
set(EMULATOR_CLEANUP ${wine} ${WINESERVER} -k)
