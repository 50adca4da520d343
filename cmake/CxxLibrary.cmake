# Which C++ library the build uses, which reads and shows the tuition, with checks of its own:
# STUDENT_RECORD_WITH_LIBSTDCXX or STUDENT_RECORD_WITH_LIBCXX, or neither.
# STUDENT_RECORD_CXX_LIBRARY, where set, names the library that the build must find.

include(CheckCXXSymbolExists)

check_cxx_symbol_exists(__GLIBCXX__ cstddef STUDENT_RECORD_WITH_LIBSTDCXX)
check_cxx_symbol_exists(_LIBCPP_VERSION cstddef STUDENT_RECORD_WITH_LIBCXX)
if(STUDENT_RECORD_WITH_LIBSTDCXX)
    set(cxx_library libstdc++)
elseif(STUDENT_RECORD_WITH_LIBCXX)
    set(cxx_library libc++)
else()
    set(cxx_library "neither libstdc++ nor libc++: the tuition cases on which those two differ \
are left out, and so are the library's own checks")
endif()
message(STATUS "The C++ library: ${cxx_library}")
set(STUDENT_RECORD_CXX_LIBRARY "" CACHE STRING
    "The C++ library that the build must use: libstdc++, libc++, or empty for any")
if(STUDENT_RECORD_CXX_LIBRARY AND NOT cxx_library STREQUAL STUDENT_RECORD_CXX_LIBRARY)
    message(FATAL_ERROR "This build must use ${STUDENT_RECORD_CXX_LIBRARY} "
        "(STUDENT_RECORD_CXX_LIBRARY), and it uses ${cxx_library}")
endif()
