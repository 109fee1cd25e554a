#include "cmdline/command_line_base.h"

#include <gtest/gtest.h>

namespace {

// Registers every row of the command table with a handler that records
// which command ran and with what.
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

TEST(CommandLineBase, FindsByNameThenAlias) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  struct Case {
    const char* word;
    const char* found;  // nullptr: nothing
  } cases[] = {
      {"status", "status"}, {"st", "status"},       {"Status", nullptr},
      {"stat", nullptr},    {" status", nullptr},   {"", "help"},
      {"shl", "show-local"}, {"whoami", "whoami"},
  };
  for (const Case& c : cases) {
    auto found = commands.FindCommand(c.word);
    if (c.found) {
      ASSERT_NE(found, commands.commands().end()) << c.word;
      EXPECT_EQ(found->name, c.found) << c.word;
    } else {
      EXPECT_EQ(found, commands.commands().end()) << c.word;
    }
  }
}

TEST(CommandLineBase, RunDispatchesWithTheRemainingArguments) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  ArgumentList arguments = {"ld", "41-59"};
  EXPECT_EQ(commands.Run(arguments), 7);
  EXPECT_EQ(commands.ran, "lock-device");
  EXPECT_EQ(commands.received, ArgumentList({"41-59"}));

  ArgumentList none;
  EXPECT_EQ(commands.Run(none), 42);
}

TEST(CommandLineBase, UnknownCommandLeavesTheArguments) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  ArgumentList arguments = {"frobnicate", "x"};
  testing::internal::CaptureStdout();
  EXPECT_EQ(commands.Run(arguments), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR: Unknown command frobnicate\n");
  EXPECT_EQ(arguments, ArgumentList({"frobnicate", "x"}));
  EXPECT_TRUE(commands.ran.empty());
}

TEST(CommandLineBase, AddCommandRefusesNamesOutsideTheTable) {
  RecordingCommandLine commands;
  EXPECT_FALSE(commands.AddCommand("no-such-command", [](ArgumentList&) { return 0; }));
  EXPECT_TRUE(commands.commands().empty());
  EXPECT_TRUE(commands.AddCommand("whoami", [](ArgumentList&) { return 3; }));
  EXPECT_TRUE(commands.AddCommand("whoami", [](ArgumentList&) { return 4; }));
  ArgumentList arguments = {"whoami"};
  EXPECT_EQ(commands.Run(arguments), 3);  // the first record wins
}

TEST(CommandLineBase, BaseUsagePadsToTheLongestName) {
  CCommandLineBase commands;
  commands.AddCommand("help", [](ArgumentList&) { return 0; });
  commands.AddCommand("status", [](ArgumentList&) { return 0; });
  testing::internal::CaptureStdout();
  EXPECT_EQ(commands.PrintUsage(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Available commands:\n"
            "    help    Display help information\n"
            "    status  Show the computer status\n"
            "\n");
}

TEST(CommandLineBase, HelpBlockOfACommandWithoutLongHelp) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  testing::internal::CaptureStdout();
  CCommandLineBase::PrintCommandHelp(commands.FindCommand("whoami"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "whoami: Show the current account ID.\n"
            "Usage: whoami\n"
            "    \n");
}

}  // namespace
