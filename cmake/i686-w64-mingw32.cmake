# Cross-builds for 32-bit Windows on x86 with Debian's mingw-w64 (g++-mingw-w64-i686-posix) and
# runs the results under Wine:
#
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake

set(CMAKE_SYSTEM_PROCESSOR x86)
set(mingw_target i686-w64-mingw32)
# Debian's wine starts its 32-bit loader whenever wine32 is installed.
set(mingw_emulator wine)
set(EMULATOR_PACKAGE wine32:i386)
set(EMULATOR_PROGRAMS "32-bit x86")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
