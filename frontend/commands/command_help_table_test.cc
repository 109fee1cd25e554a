#include <gtest/gtest.h>

#include "cmdline/command_line_testing.h"

// The front end's table as the framework registers it: its names, aliases
// and texts.
namespace {

TEST(CommandHelpTable, FindsByNameThenAlias) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  ExpectFinds(commands, {
                            {"status", "status"},
                            {"st", "status"},
                            {"Status", ""},
                            {"stat", ""},
                            {" status", ""},
                            {"", "help"},
                            {"shl", "show-local"},
                            {"whoami", "whoami"},
                        });
}

TEST(CommandHelpTable, RunDispatchesByAlias) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  ArgumentList arguments = {"ld", "41-59"};
  EXPECT_EQ(commands.Run(arguments), 7);
  EXPECT_EQ(commands.ran, "lock-device");
  EXPECT_EQ(commands.received, ArgumentList({"41-59"}));
}

TEST(CommandHelpTable, BaseUsageOfTwoCommands) {
  CCommandLineBase commands;
  commands.AddCommand("help", [](ArgumentList&) { return 0; });
  commands.AddCommand("status", [](ArgumentList&) { return 0; });
  EXPECT_EQ(BaseUsageText(commands),
            "Available commands:\n"
            "    help    Display help information\n"
            "    status  Show the computer status\n"
            "\n");
}

TEST(CommandHelpTable, HelpBlockOfACommandWithoutLongHelp) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  EXPECT_EQ(HelpBlockText(commands, "whoami"),
            "whoami: Show the current account ID.\n"
            "Usage: whoami\n"
            "    \n");
}

}  // namespace
