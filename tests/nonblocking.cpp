// Runs a program with its standard input and output in non-blocking mode, as a caller may hand
// them over: a read that finds no data, or a write that finds no room, then fails with EAGAIN
// at once instead of waiting.
//
//   nonblocking PROGRAM [ARG...]

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

bool MakeNonBlocking(int descriptor)
{
    const int flags = fcntl(descriptor, F_GETFL);
    return flags != -1 && fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) != -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fputs("usage: nonblocking PROGRAM [ARG...]\n", stderr);
        return 2;
    }
    if (!MakeNonBlocking(STDIN_FILENO) || !MakeNonBlocking(STDOUT_FILENO)) {
        std::perror("nonblocking");
        return 2;
    }
    execvp(argv[1], &argv[1]);
    std::perror(argv[1]);
    return 127;
}
