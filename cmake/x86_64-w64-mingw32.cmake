# Cross-builds for 64-bit Windows on x86-64 with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix)
# and runs the results under 64-bit Wine:
#
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake

set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(mingw_target x86_64-w64-mingw32)
# Debian's wine would start its 32-bit loader whenever wine32 is installed, so the 64-bit loader
# is named itself: on Debian in /usr/lib/wine, elsewhere on the PATH.
find_program(WINE64 wine64 PATHS /usr/lib/wine)
set(mingw_emulator ${WINE64})
set(EMULATOR_PACKAGE wine64)
set(EMULATOR_PROGRAMS x86-64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
