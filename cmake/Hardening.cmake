# Hardening against faults that untrusted answers could turn into attacks, as the OpenSSF
# "Compiler Options Hardening Guide for C and C++" recommends for GCC and Clang, on ELF platforms,
# where STUDENT_RECORD_HARDEN is on (the default). Every flag is checked before use, so that a
# compiler without it still builds. MSVC's defaults already protect the stack and randomise the
# layout, as mingw-w64's linker does. The sanitizer build and Debug builds turn on the C++
# library's checks whatever the option.

include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckLinkerFlag)
include(CheckPIESupported)

if(STUDENT_RECORD_HARDEN
        AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang"
        AND CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
    set(harden ON)
endif()

# The C++ library's checks of its own preconditions, which see a read past a string's end within
# its own storage, where AddressSanitizer sees nothing.
if(STUDENT_RECORD_WITH_LIBSTDCXX)
    set(library_assertions _GLIBCXX_ASSERTIONS)
elseif(STUDENT_RECORD_WITH_LIBCXX)
    # Hardening modes since LLVM 18, _LIBCPP_ENABLE_ASSERTIONS from 15 to 17, debug checks before.
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

# glibc's checked variants of the C functions that write to a buffer: level 3 where the compiler
# can size buffers at run time, otherwise 2, in optimised builds, and not under AddressSanitizer,
# which checks these calls in their plain form. A compiler may predefine another level.
check_cxx_source_compiles([[
    #if !__has_builtin(__builtin_dynamic_object_size)
    #error
    #endif
    int main() { return 0; }]] STUDENT_RECORD_HAS_DYNAMIC_OBJECT_SIZE)
set(fortify_level 2)
if(STUDENT_RECORD_HAS_DYNAMIC_OBJECT_SIZE)
    set(fortify_level 3)
endif()
if(NOT STUDENT_RECORD_SANITIZE)
    set(fortify -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=${fortify_level})
    add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${fortify}>")
endif()

# Stack canaries; the stack probed page by page, so that it cannot grow past its guard page; on
# x86, indirect jumps and returns only where the code allows them (Intel CET).
set(protections -fstack-protector-strong -fstack-clash-protection -fcf-protection=full)
foreach(flag IN LISTS protections)
    string(MAKE_C_IDENTIFIER "STUDENT_RECORD_COMPILER${flag}" known)
    check_cxx_compiler_flag(${flag} ${known})
    if(${known})
        add_compile_options(${flag})
    endif()
endforeach()

# Relocated data read-only once every symbol is bound, at start-up; a stack that is not executable.
foreach(keyword IN ITEMS relro now noexecstack)
    check_linker_flag(CXX LINKER:-z,${keyword} STUDENT_RECORD_LINKER_Z_${keyword})
    if(STUDENT_RECORD_LINKER_Z_${keyword})
        add_link_options(LINKER:-z,${keyword})
    endif()
endforeach()

# A program loaded at a random address; where the linker cannot make one, the build goes on.
check_pie_supported(OUTPUT_VARIABLE pie_output LANGUAGES CXX)
if(CMAKE_CXX_LINK_PIE_SUPPORTED)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
