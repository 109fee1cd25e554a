#include "frontend/commands/command_line_zirodo.h"

// On POSIX the arguments arrive as bytes, which are taken as UTF-8 text; the
// library calls widen them to UTF-16, substituting invalid sequences.
int main(int argc, char** argv) {
  int result;
  {
    ArgumentList arguments;
    for (int i = 1; i < argc; ++i)
      arguments.push_back(argv[i]);
    CCommandLineZirOdo commands;
    commands.RegisterCommands();
    result = commands.Run(arguments);
  }
  return result;
}
