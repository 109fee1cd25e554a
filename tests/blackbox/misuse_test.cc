// A misuse prints one error line and the command's help block, exits 1 and
// never reaches the library.
#include <gtest/gtest.h>

#include "tests/blackbox/program_runner.h"

namespace {

TEST(Misuse, WrongArgumentCounts) {
  struct Case {
    std::vector<std::string> arguments;
    const char* error;
    const char* command;  // whose help block follows
  } cases[] = {
      {{"status", "x"}, "ERROR: No arguments expected.", "status"},
      {{"st", ""}, "ERROR: No arguments expected.", "status"},
      {{"whoami", "a", "b"}, "ERROR: No arguments expected.", "whoami"},
      {{"version", "x"}, "ERROR: No arguments expected.", "version"},
      {{"get-proxy-settings", "x"}, "ERROR: No arguments expected.", "get-proxy-settings"},
      {{"set-comp-name", "local"}, "ERROR: 2 arguments expected", "set-comp-name"},
      {{"scn", "local"}, "ERROR: 2 arguments expected", "set-comp-name"},
      {{"set-comp-name", "a", "b", "c"}, "ERROR: 2 arguments expected", "set-comp-name"},
      {{"logout"}, "ERROR: expected computer ID", "logout"},
      {{"logout", "a", "b"}, "ERROR: expected computer ID", "logout"},
      {{"disconnect-device"}, "ERROR: 1 argument expected", "disconnect-device"},
      {{"set-device-description", "41-ab"},
       "ERROR: 2 arguments expected",
       "set-device-description"},
      {{"clear-device-description", "41-ab", "x"},
       "ERROR: 1 argument expected",
       "clear-device-description"},
      {{"lock-device"}, "ERROR: 1 argument expected", "lock-device"},
      {{"ud", "a", "b"}, "ERROR: 1 argument expected", "unlock-device"},
      {{"set-comport-name", "41-ab"}, "ERROR: 2 arguments expected", "set-comport-name"},
      {{"clear-comport-name"}, "ERROR: 1 argument expected", "clear-comport-name"},
      {{"forget-connection", "a", "b"}, "ERROR: 1 argument expected", "forget-connection"},
      {{"send-invite", "41-ab"}, "ERROR: 2 arguments expected", "send-invite"},
      {{"accept-invite"}, "ERROR: 1 argument expected", "accept-invite"},
      {{"delete-invite", "a", "b"}, "ERROR: 1 argument expected", "delete-invite"},
      {{"login"}, "ERROR: expected at least 1 argument.", "login"},
      {{"login", ""}, "ERROR: expected at least 1 argument.", "login"},
      {{"login", "", "me@example.com"}, "ERROR: extra arguments detected.", "login"},
      {{"login", "x", "y", "--verbose"}, "ERROR: extra arguments detected.", "login"},
      {{"login", "--verbose"}, "ERROR: unknown option --verbose", "login"},
      {{"login", "me@example.com", "--"}, "ERROR: unknown option --", "login"},
      {{"help", "--all", "x"}, "ERROR: Expected only one argument or option.", "help"},
  };
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(c.arguments);
    std::string label = c.arguments[0] + " with " + std::to_string(c.arguments.size() - 1);
    EXPECT_EQ(result.exit_code, 1) << label;
    EXPECT_EQ(result.out, std::string(c.error) + "\n" + HelpBlock(c.command)) << label;
    EXPECT_EQ(result.CallLog(), "") << label;
  }
}

TEST(Misuse, LoginHelpBlockAfterAMisuse) {
  ProgramResult result = RunProgram({"login"});
  EXPECT_EQ(result.out,
            "ERROR: expected at least 1 argument.\n"
            "login: Log in the computer to an account.\n"
            "Usage: login EMAIL\n"
            "    Log in with the specified email (the password will be prompted).\n");
}

TEST(Misuse, UnknownCommand) {
  struct Case {
    std::vector<std::string> arguments;
    const char* out;
  } cases[] = {
      {{"frobnicate"}, "ERROR: Unknown command frobnicate\n"},
      {{"Status"}, "ERROR: Unknown command Status\n"},
      {{"stat", "x"}, "ERROR: Unknown command stat\n"},
      {{" status"}, "ERROR: Unknown command  status\n"},
  };
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(c.arguments);
    EXPECT_EQ(result.exit_code, 1) << c.out;
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.CallLog(), "");
  }
}

}  // namespace
