// Preloaded into the program (LD_PRELOAD) to make the closing of standard output fail as a
// network file system or a disk quota can: the descriptor is closed, and the call reports EIO, or
// EILSEQ where FAILING_CLOSE_ERROR=EILSEQ: glibc's longest reason, for the longest error line.

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Failed()
{
    const char* name = std::getenv("FAILING_CLOSE_ERROR");
    errno = name != nullptr && std::strcmp(name, "EILSEQ") == 0 ? EILSEQ : EIO;
    return -1;
}

} // namespace

extern "C" int fclose(std::FILE* stream)
{
    static auto* const next = reinterpret_cast<int (*)(std::FILE*)>(dlsym(RTLD_NEXT, "fclose"));
    const bool output = fileno(stream) == STDOUT_FILENO;
    const int result = next(stream);
    return output ? Failed() : result;
}
