#include "console.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string_view>

namespace {

// Ends the run with LINE on standard error and exit status 1. What is still buffered for standard
// output is dropped: standard output keeps only what the system had accepted before. The report
// is sent only at the end, so a run that fails for want of memory or of input leaves at most the
// prompts there; a write error may leave part of the report. Standard error is unbuffered: the
// line goes out in one write, so it cannot mix with what other programs write to the same
// terminal, and writing it needs no memory.
[[noreturn]] void Fail(const char* line)
{
    std::fputs(line, stderr);
    std::_Exit(EXIT_FAILURE);
}

// The longest line that the program composes: the longer of its two problems, with the longest
// reason that glibc gives (that of EILSEQ).
constexpr std::string_view LongestLine
    = "student-record: write error: Invalid or incomplete multibyte or wide character\n";

// Ends the run with "student-record: PROBLEM: REASON", where REASON is the system's text for
// ERROR. The line is composed in place, since memory may be short as well. A C library with a
// longer reason than glibc's longest gets it cut, but the line still ends with its line feed.
[[noreturn]] void Fail(const char* problem, int error)
{
    std::array<char, LongestLine.size() + 1> line {};
    const int length = std::snprintf(
        line.data(), line.size(), "student-record: %s: %s\n", problem, std::strerror(error));
    if (length >= static_cast<int>(line.size())) {
        line[line.size() - 2] = '\n';
    }
    Fail(line.data());
}

// Called by every allocation that finds no memory, wherever it happens: in the library's own
// buffers, while an answer is read or while a name is copied.
[[noreturn]] void OutOfMemory()
{
    Fail("student-record: out of memory\n");
}

// The C++ libraries report a failed read in different places. libstdc++ reads the descriptor
// itself and marks the stream bad. libc++ reads through C stdio, which keeps the error in stdin
// and hands the stream only what looks like the end of input. Either way the reason is in errno.
void CheckRead()
{
    if (std::cin.bad() || std::ferror(stdin) != 0) {
        Fail("read error", errno);
    }
}

// Sees out everything written to standard output so far.
void Flush()
{
    // The stream only records that a write failed; the system's reason is still in errno.
    if (!std::cout.flush()) {
        Fail("write error", errno);
    }
}

} // namespace

namespace console {

void Start()
{
    // First, since releasing the streams below already allocates their buffers.
    std::set_new_handler(OutOfMemory);
    // Names have no length limit; streams released from C stdio read and write a huge one
    // several times faster. That synchronisation is only needed for a stream that is used both
    // through C stdio and through the C++ streams, and none is.
    std::ios::sync_with_stdio(false);
}

void Ask(const char* question)
{
    std::cout << question;
    Flush();
}

void ReadLine(std::string& line)
{
    std::getline(std::cin, line);
    CheckRead();
#ifndef _WIN32
    // A CR right before the line feed is the rest of a CR LF line end. On Windows the text-mode
    // console drops it before the program sees it; here the program drops it itself, so that
    // such input gives the same names everywhere. Any other CR is part of the answer.
    if (std::cin && !std::cin.eof() && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
#endif
}

void ReadNumber(float& number)
{
    std::cin >> number;
    CheckRead();
}

void Finish()
{
    Flush();
    // Some file systems (network ones, disk quotas) report a failed write only when the file is
    // closed. Closing C stdio's stream closes the descriptor under both C++ libraries; the
    // library's own flush at exit then finds nothing left to write.
    if (std::fclose(stdout) != 0) {
        Fail("write error", errno);
    }
}

} // namespace console
