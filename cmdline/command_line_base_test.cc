#include "cmdline/command_line_base.h"

#include <gtest/gtest.h>

#include "cmdline/command_line_testing.h"

// The framework's own small table: commands with and without an alias, an
// alias that is also the name of a later command, long help with markup.
const CommandHelpRow g_commandHelpTable[] = {
    {"list", "", "List the items", "list", ""},
    {"shout", "show", "Shout an item", "shout ITEM", ""},
    {"show", "sh", "Show one item", "show ITEM [--all]",
     "Show the item named ``ITEM``.\n"
     "<LF>With ``--all``, show every item."},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

namespace {

TEST(CommandLineBase, FindsByNameThenAlias) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  ExpectFinds(commands, {
                            {"list", "list"},
                            {"shout", "shout"},
                            {"show", "show"},  // a name wins over the alias of an earlier command
                            {"sh", "show"},
                            {"Show", ""},
                            {"sho", ""},
                            {" list", ""},
                            {"", "list"},  // the first empty alias
                        });
}

TEST(CommandLineBase, RunDispatchesWithTheRemainingArguments) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  ArgumentList arguments = {"sh", "a", "b"};
  EXPECT_EQ(commands.Run(arguments), 7);
  EXPECT_EQ(commands.ran, "show");
  EXPECT_EQ(commands.received, ArgumentList({"a", "b"}));

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
  EXPECT_TRUE(commands.AddCommand("list", [](ArgumentList&) { return 3; }));
  EXPECT_TRUE(commands.AddCommand("list", [](ArgumentList&) { return 4; }));
  ArgumentList arguments = {"list"};
  EXPECT_EQ(commands.Run(arguments), 3);  // the first record wins
}

TEST(CommandLineBase, BaseUsagePadsToTheLongestName) {
  CCommandLineBase commands;
  EXPECT_EQ(BaseUsageText(commands), "Available commands:\n\n");
  // Registration order, not table order.
  commands.AddCommand("shout", [](ArgumentList&) { return 0; });
  commands.AddCommand("list", [](ArgumentList&) { return 0; });
  EXPECT_EQ(BaseUsageText(commands),
            "Available commands:\n"
            "    shout  Shout an item\n"
            "    list   List the items\n"
            "\n");
}

TEST(CommandLineBase, HelpBlockWithAndWithoutAliasAndLongHelp) {
  RecordingCommandLine commands;
  commands.RegisterCommands();
  EXPECT_EQ(HelpBlockText(commands, "list"),
            "list: List the items.\n"
            "Usage: list\n"
            "    \n");
  EXPECT_EQ(HelpBlockText(commands, "show"),
            "show (sh): Show one item.\n"
            "Usage: show ITEM [--all]\n"
            "    Show the item named ITEM.\n"
            "    With --all, show every item.\n");
}

}  // namespace
