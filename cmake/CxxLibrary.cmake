# Which C++ library the build uses: STUDENT_RECORD_WITH_LIBSTDCXX (GCC's libstdc++) or
# STUDENT_RECORD_WITH_LIBCXX (LLVM's libc++), or neither. The library reads and shows the tuition,
# and the two differ on some answers; each also has checks of its own that a build can turn on.

include(CheckCXXSymbolExists)

check_cxx_symbol_exists(__GLIBCXX__ cstddef STUDENT_RECORD_WITH_LIBSTDCXX)
check_cxx_symbol_exists(_LIBCPP_VERSION cstddef STUDENT_RECORD_WITH_LIBCXX)
