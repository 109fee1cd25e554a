// status, whoami and version against scripted library answers.
#include <gtest/gtest.h>

#include "tests/blackbox/program_runner.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"

namespace {

// A library, not logged in, whose WN_GetStatus answers the given items in
// turn (the last repeats); each item is JSON text as the library hands it
// out, or "null" for a failing call.
StandInScenario StatusScenario(const std::vector<std::string>& items) {
  Json::Value list(Json::arrayValue);
  for (const std::string& item : items)
    list.append(item == "null" ? Json::Value() : Json::Value(item));
  return StandInScenario().Answer("is_ok", 0).Answer("status", list);
}

const char kLoggedIn[] =
    R"({"pipe":"connected","server":"connected","usb_driver":"OK","serial_driver":"OK"})";
const char kLoginRequired[] =
    R"({"pipe":"connected","server":"login_required","usb_driver":"OK","serial_driver":"OK"})";

TEST(Status, Reports) {
  struct Case {
    std::vector<std::string> status;
    int exit_code;
    const char* out;
    int status_calls;
  } cases[] = {
      {{R"({"pipe":"busy"})"}, 0, "Service pipe is busy: taken by some other client.\n", 2},
      {{R"({"pipe":"disconnected"})"}, 0, "Service is not responding or disabled.\n", 5},
      {{R"({"pipe":"connected","server":"disconnected","usb_driver":"OK","serial_driver":"OK"})"},
       0,
       "Can't connect to central server. Check your internet connection.\n",
       5},
      {{kLoginRequired},
       0,
       "Login required in order to connect local computer to central server.\n",
       2},
      {{kLoggedIn}, 0, "Computer is logged in to central server.\n", 2},
      {{R"({"pipe":"connected","server":"server_upgrade_required","usb_driver":"bad"})"},
       0,
       "Software is outdated.\n"
       "Please, upgrade your installed Wirenest software to latest version in order to "
       "work with current version of Wirenest server.\n"
       "USB driver installation problem. Re-install the software.\n"
       "Serial ports driver installation problem. Re-install the software.\n",
       2},
      {{R"({"server":"connected","usb_driver":"OK","serial_driver":"OK"})"},
       0,
       "Unknown pipe to service status: \n"
       "Computer is logged in to central server.\n",
       2},
      {{"{}"},
       0,
       "Unknown pipe to service status: \n"
       "Unknown status of central server: \n"
       "USB driver installation problem. Re-install the software.\n"
       "Serial ports driver installation problem. Re-install the software.\n",
       2},
      {{R"({"pipe":"Connected","server":"weird","usb_driver":"OK","serial_driver":"OK"})"},
       0,
       "Unknown pipe to service status: Connected\n"
       "Unknown status of central server: weird\n",
       2},
      {{R"({"pipe":"connected","server":"connected","usb_driver":"OK","serial_driver":"no"})"},
       0,
       "Computer is logged in to central server.\n"
       "Serial ports driver installation problem. Re-install the software.\n",
       2},
      {{"null"}, 1, "ERROR: Unable to read status from library\n", 2},
      {{"not json"}, 1, "ERROR: Unable to parse status json\n", 2},
      {{"[1,2]"}, 1, "ERROR: Unable to parse status json\n", 2},
  };
  for (const Case& c : cases) {
    ProgramRun run;
    run.scenario = StatusScenario(c.status).Text();
    ProgramResult result = RunProgram({"status"}, run);
    EXPECT_EQ(result.exit_code, c.exit_code) << c.status[0];
    EXPECT_EQ(result.out, c.out) << c.status[0];
    EXPECT_EQ(result.CountCalls("WN_GetStatus"), c.status_calls) << c.status[0];
  }
}

TEST(Status, LoggedInAnswersWithoutReadingTheStatus) {
  ProgramRun run;
  run.scenario = StandInScenario().LoggedIn().Text();
  ProgramResult result = RunProgram({"st"}, run);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "Computer logged in, all drivers are OK\n");
  EXPECT_EQ(result.CallLog(), kIsOkCall);
}

TEST(Status, WhoAmIPassesTheGateFirst) {
  struct Case {
    StandInScenario scenario;
    int exit_code;
    const char* out;
    int status_calls;
  } cases[] = {
      {StatusScenario({kLoggedIn}).Answer("email", ResultAndText(1, "me@example.com")), 0,
       "me@example.com\n", 1},
      {StatusScenario({kLoggedIn}).Answer("email", ResultAndText(0, "ignored")), 1,
       "ERROR: Unable to get email from library\n", 1},
      {StatusScenario({kLoginRequired}).Answer("email", ResultAndText(1, "me@example.com")), 1,
       "ERROR: need to login to central server\n", 1},
      {StatusScenario({R"({"pipe":"disconnected"})"}), 1, "ERROR: can't connect to local service\n",
       6},
      {StatusScenario(
           {R"({"pipe":"disconnected"})", R"({"pipe":"connected","server":"disconnected"})"}),
       1, "ERROR: can't connect to local service\n", 6},
      {StatusScenario({R"({"pipe":"connected","server":"disconnected"})"}), 1,
       "ERROR: no connection to central server\n", 6},
      {StatusScenario({R"({"pipe":"busy"})"}), 1,
       "ERROR: local service is busy: taken by some other application\n", 1},
      {StatusScenario({R"({"pipe":"connected","server":"server_upgrade_required"})"}), 1,
       "ERROR: internal error: can't get status from library\n", 1},
  };
  for (const Case& c : cases) {
    ProgramResult result = RunProgram({"whoami"}, ScenarioRun(c.scenario));
    EXPECT_EQ(result.exit_code, c.exit_code) << c.scenario.Text();
    EXPECT_EQ(result.out, c.out) << c.scenario.Text();
    EXPECT_EQ(result.CountCalls("WN_GetStatus"), c.status_calls) << c.scenario.Text();
  }
}

TEST(Status, VersionNeedsNoGate) {
  ProgramRun run;
  run.scenario =
      StatusScenario({kLoginRequired}).Answer("version", ResultAndText(1, "5.2.1 build 77")).Text();
  ProgramResult result = RunProgram({"version"}, run);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "5.2.1 build 77\n");
  EXPECT_EQ(result.CallLog(), "[\"WN_GetLibVersion\"]\n");

  run.scenario = StandInScenario().Answer("version", ResultAndText(0, "")).Text();
  result = RunProgram({"version"}, run);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "ERROR: Unable to get version from library\n");
}

TEST(Status, DemoWorldIsLoggedIn) {
  ProgramResult result = RunProgram({"status"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "Computer logged in, all drivers are OK\n");
}

}  // namespace
