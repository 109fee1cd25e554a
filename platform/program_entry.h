// The program's entry, one for each system: it sets the process up as the
// system wants, takes the arguments after the program's name as UTF-8 text
// and ends the process with the program's exit code.
#ifndef WNCTL_PLATFORM_PROGRAM_ENTRY_H_
#define WNCTL_PLATFORM_PROGRAM_ENTRY_H_

#include <deque>
#include <string>

// Provided by the program: runs it on the arguments, in command-line order,
// and returns the exit code.
int RunProgram(std::deque<std::string>& arguments);

#endif  // WNCTL_PLATFORM_PROGRAM_ENTRY_H_
