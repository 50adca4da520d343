# What the cross builds for Windows with Debian's mingw-w64 share. A toolchain file sets
# CMAKE_SYSTEM_PROCESSOR, mingw_target (the compilers' prefix) and mingw_emulator (the Wine that
# runs the results), then includes this one.

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

set(CMAKE_CROSSCOMPILING_EMULATOR ${mingw_emulator})
