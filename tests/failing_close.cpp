// Preloaded into the program (LD_PRELOAD) to make the closing of standard output fail as a
// network file system or a disk quota can: the descriptor is closed, and the call reports EIO, or
// EILSEQ where FAILING_CLOSE_ERROR=EILSEQ: glibc's longest reason, for the longest error line.

#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int StandardOutput = 1;

// The function that NAME would be without this library.
template <typename Function> Function* Next(const char* name)
{
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

int Error()
{
    const char* name = std::getenv("FAILING_CLOSE_ERROR");
    return name != nullptr && std::strcmp(name, "EILSEQ") == 0 ? EILSEQ : EIO;
}

} // namespace

extern "C" int close(int descriptor)
{
    static auto* const next = Next<int(int)>("close");
    const int result = next(descriptor);
    if (descriptor != StandardOutput) {
        return result;
    }
    errno = Error();
    return -1;
}

extern "C" int fclose(std::FILE* stream)
{
    static auto* const next = Next<int(std::FILE*)>("fclose");
    const bool output = fileno(stream) == StandardOutput;
    const int result = next(stream);
    if (!output) {
        return result;
    }
    errno = Error();
    return EOF;
}
