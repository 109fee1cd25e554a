// For tests of a command table: a command line that records what ran, and
// what the framework finds and prints for it.
#ifndef WNCTL_CMDLINE_COMMAND_LINE_TESTING_H_
#define WNCTL_CMDLINE_COMMAND_LINE_TESTING_H_

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "cmdline/command_line_base.h"

// Registers every row of the command table with a handler that records which
// command ran and with what, and returns 7. Its usage prints nothing and
// returns 42.
class RecordingCommandLine : public CCommandLineBase {
 public:
  void RegisterCommands() override {
    for (const CommandHelpRow* row = g_commandHelpTable; row->name; ++row) {
      std::string name = row->name;
      AddCommand(row->name, [this, name](ArgumentList& arguments) {
        ran = name;
        received = arguments;
        return 7;
      });
    }
  }
  int PrintUsage() override { return 42; }

  std::string ran;
  ArgumentList received;
};

// A word and the name of the command it finds; "" when it finds none.
struct FindCase {
  const char* word;
  const char* found;
};
inline void ExpectFinds(const CCommandLineBase& commands, std::initializer_list<FindCase> cases) {
  for (const FindCase& c : cases) {
    auto found = commands.FindCommand(c.word);
    EXPECT_EQ(found == commands.commands().end() ? "" : found->name, c.found) << c.word;
  }
}

// What the base's usage prints; it must return 0.
inline std::string BaseUsageText(CCommandLineBase& commands) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(commands.CCommandLineBase::PrintUsage(), 0);
  return testing::internal::GetCapturedStdout();
}

// The help block of the command that `word` finds, which must exist.
inline std::string HelpBlockText(const CCommandLineBase& commands, const std::string& word) {
  auto found = commands.FindCommand(word);
  if (found == commands.commands().end()) {
    ADD_FAILURE() << "no command " << word;
    return "";
  }
  testing::internal::CaptureStdout();
  CCommandLineBase::PrintCommandHelp(found);
  return testing::internal::GetCapturedStdout();
}

#endif  // WNCTL_CMDLINE_COMMAND_LINE_TESTING_H_
