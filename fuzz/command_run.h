// One command line run in-process as the program's main runs it.
#ifndef WNCTL_FUZZ_COMMAND_RUN_H_
#define WNCTL_FUZZ_COMMAND_RUN_H_

#include <string>

#include "cmdline/command_line_base.h"

struct CommandRun {
  int result;
  std::string output;
};

// Also checks what every run gives: exit code 0 or 1, and whole lines.
CommandRun RunCommandLine(ArgumentList arguments);

#endif  // WNCTL_FUZZ_COMMAND_RUN_H_
