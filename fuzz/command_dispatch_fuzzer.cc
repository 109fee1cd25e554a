// Dispatch and every handler's argument checks over any argument list, run
// in-process against the fake library. The input gives the argument list
// (split at zero bytes), then what standard input holds, then the library's
// answers.
#include <stdint.h>

#include <map>
#include <string>

#include "frontend/commands/command_line_zirodo.h"
#include "fuzz/command_run.h"
#include "fuzz/fake_library.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_script.h"
#include "fuzz/standard_streams.h"

namespace {

const size_t kMaxArgumentText = 1024;
const size_t kMaxInputText = 64;

// Each command's help block, as a misuse prints it.
const std::map<std::string, std::string>& HelpBlocks() {
  static const std::map<std::string, std::string>* blocks = [] {
    auto* made = new std::map<std::string, std::string>;
    CCommandLineZirOdo commands;
    commands.RegisterCommands();
    for (const CommandRecord& command : commands.commands()) {
      BeginCapturingOutput();
      commands.PrintHelpFor(command.name.c_str());
      (*made)[command.name] = TakeCapturedOutput();
    }
    return made;
  }();
  return *blocks;
}

bool IsShowCommand(const std::string& name) {
  return name == "show-local" || name == "show-remote" || name == "show-invite";
}

// Whether the output is that of a misuse, which must be found before any
// library call.
bool IsMisuse(const std::string& name, const std::string& output) {
  if (IsShowCommand(name)) {
    return StartsWith(output, "ERROR: extra arguments detected.\n") ||
           StartsWith(output, "ERROR: unknown option ");
  }
  return StartsWith(output, "ERROR: ") && output.find(HelpBlocks().at(name)) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const ArgumentList original = SplitAtNul(input.ConsumeRandomLengthString(kMaxArgumentText));
  SetStandardInput(input.ConsumeRandomLengthString(kMaxInputText));
  ResetFakeLibrary([&input](const char*) { return DrawAnswer(input); });

  HelpBlocks();  // made before the run, whose output it would mix with
  CommandRun run = RunCommandLine(original);
  bool called = !FakeLibraryCalls().empty();
  if (original.empty()) {
    FuzzCheck(!called && run.result == 0, "the usage banner called the library");
    return 0;
  }
  CCommandLineZirOdo commands;
  commands.RegisterCommands();
  auto command = commands.FindCommand(original.front());
  if (command == commands.commands().end()) {
    FuzzCheck(!called && run.result == 1 && StartsWith(run.output, "ERROR: Unknown command "),
              "an unknown command was not refused at once");
  } else if (command->name == "help") {
    FuzzCheck(!called, "help called the library");
  } else if (IsMisuse(command->name, run.output)) {
    FuzzCheck(!called && run.result == 1, "a misuse called the library or succeeded");
  }
  return 0;
}
