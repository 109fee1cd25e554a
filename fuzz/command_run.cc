#include "fuzz/command_run.h"

#include "frontend/commands/command_line_zirodo.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/standard_streams.h"

CommandRun RunCommandLine(ArgumentList arguments) {
  BeginCapturingOutput();
  CommandRun run;
  {
    CCommandLineZirOdo commands;
    commands.RegisterCommands();
    run.result = commands.Run(arguments);
  }
  run.output = TakeCapturedOutput();
  FuzzCheck(run.result == 0 || run.result == 1, "the exit code is neither 0 nor 1");
  FuzzCheck(IsWholeLines(run.output), "the output ends inside a line");
  return run;
}
