# Guards against faults that would read or write memory out of bounds unseen: here, the C++
# library's checks of its own preconditions (the last character of a string that is not empty,
# say), which stop the program with a message where it would otherwise go on. AddressSanitizer
# cannot see such a read when it stays within a string's own storage.
#
# The sanitizer build and Debug builds turn the checks on.

include(CheckCXXSymbolExists)

# Which C++ library the build uses. The two read and show some tuitions differently.
check_cxx_symbol_exists(__GLIBCXX__ cstddef STUDENT_RECORD_WITH_LIBSTDCXX)
check_cxx_symbol_exists(_LIBCPP_VERSION cstddef STUDENT_RECORD_WITH_LIBCXX)

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
    if(STUDENT_RECORD_SANITIZE)
        add_compile_definitions(${library_assertions})
    else()
        add_compile_definitions($<$<CONFIG:Debug>:${library_assertions}>)
    endif()
endif()
