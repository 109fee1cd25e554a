#include <stdio.h>

#include <iostream>

#include "frontend/commands/command_line_zirodo.h"
#include "platform/program_entry.h"

namespace {

bool OutputWritten() {
  std::cout.flush();
  return fflush(stdout) == 0 && !ferror(stdout) && !std::cout.fail();
}

}  // namespace

// The platform's entry has set the process up and hands the arguments over.
int RunProgram(ArgumentList& arguments) {
  int result;
  {
    CCommandLineZirOdo commands;
    commands.RegisterCommands();
    result = commands.Run(arguments);
  }
  // Output that could not all be written fails the run: exit code 1.
  if (!OutputWritten())
    result = 1;
  return result;
}
