// student-record: asks for a first name, a last name and a tuition amount, then reports a
// record built with no data beside the record built from the answers.

#include "console.h"
#include "student/student.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// One record's block of the report. The record's names are copied out when the block is made.
// Both blocks are made before anything of the report is written, so memory that runs out during
// a copy ends the run with no report at all, never with part of one.
struct ReportBlock {
    ReportBlock(const char* opening, const Student& student, const char* closing)
        : Opening(opening),
          FName(student.GetFName()),
          LName(student.GetLName()),
          Tuition(student.GetTuition()),
          Closing(closing)
    {
    }

    const char* Opening;
    std::string FName;
    std::string LName;
    float Tuition;
    const char* Closing;
};

std::ostream& operator<<(std::ostream& out, const ReportBlock& block)
{
    return out << block.Opening << block.FName << "]-First Name\n[" << block.LName
               << "]-Last Name\n[" << block.Tuition << block.Closing;
}

} // namespace

int main()
{
    console::Start();

    const Student St1;
    std::string uFName;
    std::string uLName;
    // A tuition answer that is missing or not a number leaves this value in place.
    float uFloat = 0.0F;

    console::Ask("Please enter a first name: ");
    console::ReadLine(uFName);
    console::Ask("Please enter a last name: ");
    console::ReadLine(uLName);
    console::Ask("Please enter a tuition amount: ");
    console::ReadNumber(uFloat);

    const Student St2(uFName, uLName, uFloat);

    const ReportBlock block1("*\nStudent 1 holds: [", St1, "]-Tuition Balance\n");
    const ReportBlock block2("*\nStudent 2 holds: [", St2, "]-Tuition Balance\n*\n");
    std::cout << block1 << block2;
    console::Finish();
    return EXIT_SUCCESS;
}
