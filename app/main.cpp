// student-record: asks for a first name, a last name and a tuition amount, then reports a
// record built with no data beside the record built from the answers.

#include "student/student.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <system_error>

namespace {

// Standard output failed; the error code holds the system's reason.
class WriteError : public std::system_error {
public:
    using std::system_error::system_error;
};

// Flushes everything written so far. The stream only records that a write failed; the
// system's reason is still in errno right after the failed flush.
void Flush(std::ostream& out)
{
    if (!out.flush()) {
        throw WriteError(errno, std::generic_category());
    }
}

void Prompt(std::ostream& out, const char* question)
{
    out << question;
    Flush(out);
}

// Reads one answer line; its line feed is consumed and not kept.
void ReadLine(std::istream& in, std::string& line)
{
    std::getline(in, line);
#ifndef _WIN32
    // A CR right before that line feed is the rest of a CR LF line end. On Windows the text-mode
    // console drops it before the program sees it; here the program drops it itself, so that
    // such input gives the same names everywhere. Any other CR is part of the answer.
    if (in && !in.eof() && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
#endif
}

void WriteBlock(std::ostream& out, const char* opening, const Student& student, const char* closing)
{
    out << opening << student.GetFName() << "]-First Name\n[" << student.GetLName()
        << "]-Last Name\n[" << student.GetTuition() << closing;
}

void RunDialogue(std::istream& in, std::ostream& out)
{
    const Student St1;
    std::string uFName;
    std::string uLName;
    // A tuition answer that is missing or not a number leaves this value in place.
    float uFloat = 0.0F;

    Prompt(out, "Please enter a first name: ");
    ReadLine(in, uFName);
    Prompt(out, "Please enter a last name: ");
    ReadLine(in, uLName);
    Prompt(out, "Please enter a tuition amount: ");
    in >> uFloat;

    const Student St2(uFName, uLName, uFloat);

    WriteBlock(out, "*\nStudent 1 holds: [", St1, "]-Tuition Balance\n");
    WriteBlock(out, "*\nStudent 2 holds: [", St2, "]-Tuition Balance\n*\n");
    Flush(out);
}

int Fail(const std::string& reason)
{
    std::cerr << "student-record: " << reason << '\n';
    return EXIT_FAILURE;
}

} // namespace

int main()
{
    // Names have no length limit; unsynchronised streams read and write a huge one several
    // times faster. Nothing here uses C stdio.
    std::ios::sync_with_stdio(false);
    // A read error, or memory running out while a name is read, would otherwise only mark the
    // stream bad and pass for the end of input; with this it reaches the handlers below.
    std::cin.exceptions(std::ios::badbit);

    try {
        RunDialogue(std::cin, std::cout);
    } catch (const WriteError& error) {
        return Fail("write error: " + error.code().message());
    } catch (const std::ios_base::failure& error) {
        // Only standard input throws this: standard output reports through Flush.
        return Fail("read error: " + error.code().message());
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
    return EXIT_SUCCESS;
}
