#include "frontend/commands/command_line_zirodo.h"

#include <string>

#include <gtest/gtest.h>

#include "cmdline/command_line_testing.h"

namespace {

typedef CCommandLineZirOdo::HandlerRow HandlerRow;

// The handler table and the help table name the same commands in the same
// order, and each command has one way to run.
TEST(CommandHandlers, OneRowPerRowOfTheHelpTable) {
  const HandlerRow* handler = CCommandLineZirOdo::kHandlers;
  const CommandHelpRow* help = g_commandHelpTable;
  for (; handler->name && help->name; ++handler, ++help) {
    const std::string name = help->name;
    EXPECT_EQ(name, handler->name);
    bool counted = handler->fixed.operation != nullptr;
    EXPECT_EQ(counted, handler->fixed.error != nullptr) << name;
    EXPECT_FALSE(handler->member && handler->function) << name;
    EXPECT_FALSE(handler->function && counted) << name;
    EXPECT_TRUE(handler->member || handler->function || counted) << name;
  }
  EXPECT_EQ(nullptr, handler->name) << "a handler without a help row";
  EXPECT_EQ(nullptr, help->name) << "a help row without a handler";
}

// Through the registered handler (for most of them a member that forwards
// to its row): one argument too many prints the row's error line and the
// command's own help block, and nothing runs.
TEST(CommandHandlers, FixedCountCommandsRefuseAnotherCount) {
  CCommandLineZirOdo commands;
  commands.RegisterCommands();
  int counted = 0;
  for (const HandlerRow* row = CCommandLineZirOdo::kHandlers; row->name; ++row) {
    if (!row->fixed.operation)
      continue;
    ++counted;
    ArgumentList arguments(row->fixed.count + 1, "");
    arguments.push_front(row->name);
    std::string help = HelpBlockText(commands, row->name);
    testing::internal::CaptureStdout();
    EXPECT_EQ(1, commands.Run(arguments)) << row->name;
    EXPECT_EQ(std::string(row->fixed.error) + "\n" + help, testing::internal::GetCapturedStdout())
        << row->name;
  }
  EXPECT_EQ(17, counted);
}

}  // namespace
