#include <gtest/gtest.h>

#include "tests/blackbox/connection_cases.h"
#include "tests/blackbox/program_runner.h"
#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"
#include "tests/support/test_files.h"

namespace {

const char kConnected[] = "{\"status\":\"shared\",\"connect_info\":{\"compress\":\"no\"}}";

// A service that no gate lets through: not logged in, its status unreadable.
StandInScenario ServiceStateUnreadable() {
  return StandInScenario().Answer("is_ok", 0).Answer("status", Json::Value());
}

TEST(DefaultConnectParameters, ReportShowsEachMemberOrItsAbsence) {
  const char kNoCompression[] = "compression: no default compression set.\n";
  const char kNoReconnect[] = "auto reconnect: no default reconnect option set.\n";
  struct Case {
    int result;
    const char* document;
    std::string out;
    int exit_code;
  } cases[] = {
      {1, "{}", std::string(kNoCompression) + kNoReconnect, 0},
      {1, "null", std::string(kNoCompression) + kNoReconnect, 0},
      {1, "{\"compress\":\"\",\"reconnect\":false}",
       std::string(kNoCompression) + "auto reconnect: false\n", 0},
      {1, "{\"compress\":\"bestsize\",\"reconnect\":\"true\"}",
       "compression: bestsize\nauto reconnect: true\n", 0},
      {1, "{\"compress\":null,\"reconnect\":true}",
       std::string(kNoCompression) + "auto reconnect: true\n", 0},
      {1, "{\"compress\":[\"no\"]}", "compression: [\"no\"]\n" + std::string(kNoReconnect), 0},
      {1, "[{\"compress\":\"no\"}]", "ERROR: Can't parse default compression.\n", 1},
      {1, "\"no\"", "ERROR: Can't parse default compression.\n", 1},
      {1, "{\"compress\":", "ERROR: Can't parse default compression.\n", 1},
      {0, "{\"compress\":\"no\"}", "ERROR: Can't read default compression.\n", 1},
  };
  for (const Case& c : cases) {
    StandInScenario scenario = ServiceStateUnreadable();
    scenario.Answer("default_params", ResultAndText(c.result, c.document));
    ProgramResult result = RunProgram({"default-connect-parameters"}, ScenarioRun(scenario));
    EXPECT_EQ(result.out, c.out) << c.document;
    EXPECT_EQ(result.exit_code, c.exit_code) << c.document;
    EXPECT_EQ(result.err, "") << c.document;
    // No state gate, whatever the service's state.
    EXPECT_EQ(result.CallLog(), "[\"WN_GetDefaultConnectParameters\"]\n") << c.document;
  }
}

TEST(DefaultConnectParameters, SetterSendsTheDocumentWithoutGate) {
  struct Case {
    std::vector<std::string> arguments;
    int accepted;
    const char* parameters;
    const char* out;
  } cases[] = {
      {{"--compression="}, 1, "{}", "default connect parameters have been changed.\n"},
      {{"--auto-reconnect"},
       1,
       "{\"reconnect\":\"true\"}",
       "default connect parameters have been changed.\n"},
      {{"--no", "--comp", "no"},
       1,
       "{\"compress\":\"no\",\"reconnect\":\"false\"}",
       "default connect parameters have been changed.\n"},
      {{"--compression=bestspeed"},
       0,
       "{\"compress\":\"bestspeed\"}",
       "ERROR: can't set default connect parameters.\n"},
  };
  for (const Case& c : cases) {
    StandInScenario scenario = ServiceStateUnreadable();
    scenario.Answer("set_default_params", c.accepted);
    ProgramResult result = RunProgram(WithArguments(c.arguments, "dcp"), ScenarioRun(scenario));
    std::string label = testing::PrintToString(c.arguments);
    EXPECT_EQ(result.out, c.out) << label;
    EXPECT_EQ(result.exit_code, c.accepted ? 0 : 1) << label;
    EXPECT_EQ(result.err, "") << label;
    Json::Value call(Json::arrayValue);
    call.append("WN_SetDefaultConnectParameters");
    call.append(c.parameters);
    EXPECT_EQ(result.CallLog(), CompactJson(call) + "\n") << label;
  }
}

// The demo world's defaults are bestspeed and "true".
TEST(DefaultConnectParameters, EachSettingKeepsWhatItDoesNotName) {
  const char kChanged[] = "default connect parameters have been changed.\n";
  const struct {
    std::vector<std::string> arguments;
    const char* out;
  } runs[] = {
      {{"--compression=bestsize", "--auto-reconnect"}, kChanged},
      {{"--no-auto-reconnect"}, kChanged},
      {{}, "compression: bestsize\nauto reconnect: false\n"},
      {{"--compression="}, kChanged},
      {{"--compression=no"}, kChanged},
      {{}, "compression: no\nauto reconnect: false\n"},
  };
  TempDir dir;
  ProgramRun run;
  run.state_file = dir.File("state.json");
  for (const auto& r : runs) {
    ProgramResult result = RunProgram(WithArguments(r.arguments, "dcp"), run);
    std::string label = testing::PrintToString(r.arguments);
    EXPECT_EQ(r.out, result.out) << label;
    EXPECT_EQ(0, result.exit_code) << label;
    EXPECT_EQ("", result.err) << label;
  }
}

TEST(ConnectionParameters, MisuseShowsHelpWithoutCallingTheLibrary) {
  const char kDefaults[] = "default-connect-parameters";
  const char kChange[] = "change-existing-connection-params";
  struct Case {
    std::vector<std::string> arguments;
    const char* help_of;
    const char* error;
  } cases[] = {
      {{kDefaults, "x"}, kDefaults, "ERROR: extra arguments detected.\n"},
      {{kDefaults, ""}, kDefaults, "ERROR: extra arguments detected.\n"},
      {{kDefaults, "--a", "x", "--compression=bad"},
       kDefaults,
       "ERROR: extra arguments detected.\n"},
      {{kDefaults, "--compression=BestSize"}, kDefaults, "ERROR: wrong compression value.\n"},
      {{kDefaults, "--bad"}, kDefaults, "ERROR: unknown option: --bad\n"},
      {{kChange}, kChange, "ERROR: expected at least 1 mandatory argument.\n"},
      {{"ccp", "41-usb-7", "41-usb-8"},
       kChange,
       "ERROR: expected at least 1 mandatory argument.\n"},
      {{kChange, "41-usb-7", "--compression=No"}, kChange, "ERROR: wrong compression value.\n"},
      {{kChange, "41-usb-7", "--auto-reconnect"},
       kChange,
       "ERROR: unknown option: --auto-reconnect\n"},
      {{kChange, "41-usb-7", "--compression", "--c=no"},
       kChange,
       "ERROR: option --compression is expecting value\n"},
  };
  ProgramRun run = ScenarioRun(OneDeviceScenario(kConnected));
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(c.arguments, run);
    std::string label = testing::PrintToString(c.arguments);
    EXPECT_EQ(result.out, c.error + HelpBlock(c.help_of)) << label;
    EXPECT_EQ(result.exit_code, 1) << label;
    EXPECT_EQ(result.err, "") << label;
    EXPECT_EQ(result.CallLog(), "") << label;
  }
}

TEST(ChangeExistingConnectionParams, AlwaysSendsCompress) {
  StandInScenario scenario = OneDeviceScenario(kConnected);
  scenario.Request("WN_ChangeExistingConnectionParametersAsync", AnsweredRequest(7));
  // The connection is checked before the channel is made ready.
  ExpectParametersSent("change-existing-connection-params",
                       "WN_ChangeExistingConnectionParametersAsync",
                       {
                           {{"41-usb-7"}, "{\"compress\":\"\"}"},
                           {{"41-usb-7", "--compression="}, "{\"compress\":\"\"}"},
                           {{"--c=bestspeed", "41-usb-7"}, "{\"compress\":\"bestspeed\"}"},
                       },
                       kIsOkCall + DevicesListCall("41") +
                           "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n" + kEventChannelCalls,
                       ScenarioRun(scenario));
}

TEST(ChangeExistingConnectionParams, DeviceNotConnectedIsRefusedBeforeTheChannel) {
  for (const char* info :
       {"{\"status\":\"shared\"}", "{\"status\":\"local\",\"connect_info\":{}}", "[]", "{"}) {
    StandInScenario scenario = OneDeviceScenario(info);
    scenario.Request("WN_ChangeExistingConnectionParametersAsync", AnsweredRequest(7));
    ProgramResult result =
        RunProgram({"ccp", "41-usb-7", "--compression=no"}, ScenarioRun(scenario));
    EXPECT_EQ(result.out, "ERROR: device is not connected.\n") << info;
    EXPECT_EQ(result.exit_code, 1) << info;
    EXPECT_EQ(result.err, "") << info;
    EXPECT_EQ(result.CallLog(),
              kIsOkCall + DevicesListCall("41") + "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n")
        << info;
  }
}

TEST(ChangeExistingConnectionParams, NoDriverAnswerHasNoHint) {
  StandInScenario scenario = OneDeviceScenario(kConnected);
  scenario.Request("WN_ChangeExistingConnectionParametersAsync", AnsweredRequest(7, "no_driver"));
  ProgramResult result = RunProgram({"ccp", "41-usb-7"}, ScenarioRun(scenario));
  EXPECT_EQ(result.out, "ERROR: command finished with error: no_driver\n");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "");
}

}  // namespace
