# Hardening against faults that untrusted answers could turn into attacks, as the OpenSSF
# "Compiler Options Hardening Guide for C and C++" recommends for GCC and Clang: checks that stop
# the program where it would read or write memory out of bounds, and a layout of the program in
# memory that such a fault cannot easily exploit. Every flag is checked before use, so that a
# compiler without it still builds.
#
# STUDENT_RECORD_HARDEN (on by default) applies all of it to builds with GCC or Clang for ELF
# platforms. MSVC's defaults already protect the stack (/GS) and randomise the layout
# (/DYNAMICBASE, /NXCOMPAT), as mingw-w64's linker does. Whatever the option, the sanitizer build
# and Debug builds turn on the C++ library's checks.

include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckCXXSymbolExists)
include(CheckLinkerFlag)
include(CheckPIESupported)

if(STUDENT_RECORD_HARDEN
        AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang"
        AND CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
    set(harden ON)
endif()

# The C++ library's checks of its own preconditions (the last character of a string that is not
# empty, say), for the library that cmake/CxxLibrary.cmake found. A read that such a check stops
# may stay within a string's own storage, where AddressSanitizer sees nothing.
if(STUDENT_RECORD_WITH_LIBSTDCXX)
    set(library_assertions _GLIBCXX_ASSERTIONS)
elseif(STUDENT_RECORD_WITH_LIBCXX)
    # libc++ has named its checks differently over the years: hardening modes since LLVM 18,
    # _LIBCPP_ENABLE_ASSERTIONS from LLVM 15 to 17, and basic debug checks before (Debian 12's
    # LLVM 14).
    check_cxx_symbol_exists(_LIBCPP_HARDENING_MODE_EXTENSIVE string
        STUDENT_RECORD_LIBCXX_HARDENING_MODES)
    check_cxx_symbol_exists(_LIBCPP_ENABLE_ASSERTIONS string STUDENT_RECORD_LIBCXX_ASSERTIONS)
    if(STUDENT_RECORD_LIBCXX_HARDENING_MODES)
        set(library_assertions _LIBCPP_HARDENING_MODE=_LIBCPP_HARDENING_MODE_EXTENSIVE)
    elseif(STUDENT_RECORD_LIBCXX_ASSERTIONS)
        set(library_assertions _LIBCPP_ENABLE_ASSERTIONS=1)
    else()
        set(library_assertions _LIBCPP_DEBUG=0)
    endif()
endif()

# Other libraries keep their own defaults: MSVC's checks iterators in Debug builds by itself.
if(library_assertions)
    if(harden OR STUDENT_RECORD_SANITIZE)
        add_compile_definitions(${library_assertions})
    else()
        add_compile_definitions($<$<CONFIG:Debug>:${library_assertions}>)
    endif()
endif()

if(NOT harden)
    return()
endif()

# glibc's checked variants of the C functions that write to a buffer, where the compiler knows
# the buffer's size: level 3 where it can also size buffers at run time, otherwise level 2. They
# need an optimised build (without one, glibc warns), and AddressSanitizer checks these calls
# itself, in their plain form only. A compiler may predefine another level.
check_cxx_source_compiles([[
    #if !__has_builtin(__builtin_dynamic_object_size)
    #error
    #endif
    int main() { return 0; }]] STUDENT_RECORD_HAS_DYNAMIC_OBJECT_SIZE)
if(STUDENT_RECORD_HAS_DYNAMIC_OBJECT_SIZE)
    set(fortify_level 3)
else()
    set(fortify_level 2)
endif()
if(NOT STUDENT_RECORD_SANITIZE)
    set(fortify -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=${fortify_level})
    add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${fortify}>")
endif()

# A canary checks each function's stack frame that holds an array; the stack is probed page by
# page, so that it cannot grow past its guard page into other memory; and on x86, indirect jumps
# and returns land only where the code marks them as allowed (Intel CET).
set(protections -fstack-protector-strong -fstack-clash-protection -fcf-protection=full)
foreach(flag IN LISTS protections)
    string(MAKE_C_IDENTIFIER "STUDENT_RECORD_COMPILER${flag}" known)
    check_cxx_compiler_flag(${flag} ${known})
    if(${known})
        add_compile_options(${flag})
    endif()
endforeach()

# The relocated data is made read-only once every symbol has been bound, at start-up, and the
# stack is not executable.
foreach(keyword IN ITEMS relro now noexecstack)
    check_linker_flag(CXX LINKER:-z,${keyword} STUDENT_RECORD_LINKER_Z_${keyword})
    if(STUDENT_RECORD_LINKER_Z_${keyword})
        add_link_options(LINKER:-z,${keyword})
    endif()
endforeach()

# The program is loaded at a random address. Where the linker cannot make such a program, the
# output variable keeps CMake from warning: the build goes on without.
check_pie_supported(OUTPUT_VARIABLE pie_output LANGUAGES CXX)
if(CMAKE_CXX_LINK_PIE_SUPPORTED)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
