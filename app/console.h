#pragma once

#include <string>

// The program's standard input and output. When they fail, or memory runs out, the run ends here
// at once: one line on standard error, exit status 1, and on standard output nothing more than
// what the system had already accepted.
namespace console {

// Prepares the standard streams. From here on, memory that runs out ends the run.
void Start();

// Writes a question and sees it out to standard output, so that it shows before the program
// waits for the answer.
void Ask(const char* question);

// Reads one answer line; its line end is consumed and not kept. The end of input is not a
// failure: a line cut short by it is taken as it is, and a line not there at all leaves the
// target as it was.
void ReadLine(std::string& line);

// Reads one number with the stream's standard extraction. An answer that is missing or not a
// number leaves it as it was.
void ReadNumber(float& number);

// Sees out the rest of standard output and closes it: the run has succeeded only when all that
// it wrote has reached its destination.
void Finish();

} // namespace console
