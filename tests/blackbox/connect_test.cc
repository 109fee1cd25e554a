#include <gtest/gtest.h>

#include "tests/blackbox/connection_cases.h"
#include "tests/blackbox/program_runner.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"

namespace {

const char kNotConnected[] = "{\"status\":\"shared\"}";

TEST(ConnectDevice, SendsOnlyTheParametersGiven) {
  StandInScenario scenario = OneDeviceScenario(kNotConnected);
  scenario.Request("WN_ConnectDeviceAsync", AnsweredRequest(7));
  ExpectParametersSent(
      "connect-device", "WN_ConnectDeviceAsync",
      {
          {{"41-usb-7"}, "{}"},
          {{"41-usb-7", "--compression="}, "{}"},
          {{"--comp=bestsize", "41-usb-7"}, "{\"compress\":\"bestsize\"}"},
          {{"41-usb-7", "--compression=no", "--compression", "bestspeed"},
           "{\"compress\":\"bestspeed\"}"},
          {{"41-usb-7", "--a", "--n"}, "{\"reconnect\":\"false\"}"},
          {{"41-usb-7", "--n", "--a"}, "{\"reconnect\":\"true\"}"},
          {{"--auto-reconnect", "--no-auto-reconnect", "--auto-reconnect", "41-usb-7"},
           "{\"reconnect\":\"true\"}"},
          {{"41-usb-7", "--no-auto-reconnect", "--compression", "bestsize"},
           "{\"compress\":\"bestsize\",\"reconnect\":\"false\"}"},
      },
      kIsOkCall + DevicesListCall("41") + kEventChannelCalls +
          "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n",
      ScenarioRun(scenario));
}

TEST(ConnectDevice, MisuseShowsHelpWithoutCallingTheLibrary) {
  struct Case {
    std::vector<std::string> arguments;
    const char* error;
  } cases[] = {
      {{"connect-device"}, "ERROR: expected 1 mandatory argument.\n"},
      {{"cond", "41-usb-7", "41-usb-8"}, "ERROR: expected 1 mandatory argument.\n"},
      {{"connect-device", "a", "b", "--compression=BestSpeed"},
       "ERROR: expected 1 mandatory argument.\n"},
      {{"connect-device", "41-usb-7", "--compression=BestSpeed"},
       "ERROR: wrong compression value.\n"},
      {{"connect-device", "41-usb-7", "--x"}, "ERROR: unknown option: --x\n"},
      {{"connect-device", "41-usb-7", "--auto-reconnect=1"},
       "ERROR: option --auto-reconnect should not have value, but got: "
       "--auto-reconnect=1\n"},
      {{"connect-device", "41-usb-7", "--"},
       "ERROR: multiple matches to option -- (--compression, --auto-reconnect, "
       "--no-auto-reconnect)\n"},
      {{"connect-device", "41-usb-7", "--compression"},
       "ERROR: last option --compression expected value but command line is suddenly "
       "terminated.\n"},
  };
  std::string help = HelpBlock("connect-device");
  ASSERT_NE(help, "");
  ProgramRun run = ScenarioRun(OneDeviceScenario(kNotConnected));
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(c.arguments, run);
    std::string label = testing::PrintToString(c.arguments);
    EXPECT_EQ(result.out, c.error + help) << label;
    EXPECT_EQ(result.exit_code, 1) << label;
    EXPECT_EQ(result.err, "") << label;
    EXPECT_EQ(result.CallLog(), "") << label;
  }
}

TEST(ConnectDevice, ConnectedDeviceIsRefusedAfterTheChannelIsEnabled) {
  struct Case {
    const char* info;
    bool connected;
  } cases[] = {
      {"{\"status\":\"shared\",\"connect_info\":{}}", true},
      {"{\"status\":\"shared\",\"connect_info\":null}", true},
      {"{\"status\":\"shared\"}", false},
      {"{\"status\":\"Shared\",\"connect_info\":{}}", false},
      {"{\"status\":[\"shared\"],\"connect_info\":{}}", false},
      {"{\"connect_info\":{}}", false},
      {"[\"shared\",{\"connect_info\":{}}]", false},
      {"\"shared\"", false},
      {"null", false},
      {"not json", false},
  };
  for (const Case& c : cases) {
    StandInScenario scenario = OneDeviceScenario(c.info);
    scenario.Request("WN_ConnectDeviceAsync", AnsweredRequest(7));
    ProgramResult result = RunProgram({"connect-device", "41-usb-7"}, ScenarioRun(scenario));
    if (c.connected) {
      EXPECT_EQ(result.out, "ERROR: device is already connected.\n") << c.info;
      EXPECT_EQ(result.exit_code, 1) << c.info;
      EXPECT_EQ(result.err, "") << c.info;
      EXPECT_EQ(result.CallLog(), kIsOkCall + DevicesListCall("41") + kEventChannelCalls +
                                      "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n")
          << c.info;
    } else {
      EXPECT_EQ(result.out, "Success\n") << c.info;
      EXPECT_EQ(result.CountCalls("WN_ConnectDeviceAsync"), 1) << c.info;
    }
  }

  StandInScenario unreadable = OneDeviceScenario("");
  unreadable.DeviceInfo("41", "usb-7", "", 0);
  unreadable.Request("WN_ConnectDeviceAsync", AnsweredRequest(7));
  EXPECT_EQ(RunProgram({"connect-device", "41-usb-7"}, ScenarioRun(unreadable)).out, "Success\n");
}

TEST(ConnectDevice, NoDriverAnswerNamesTheComputerWithoutDrivers) {
  const char kDriversOk[] =
      "{\"pipe\":\"connected\",\"server\":\"connected\",\"usb_driver\":\"OK\","
      "\"serial_driver\":\"OK\"}";
  const char kSerialMissing[] =
      "{\"pipe\":\"connected\",\"server\":\"connected\",\"usb_driver\":\"OK\","
      "\"serial_driver\":\"missing\"}";
  const char kRemote[] = "Remote computer does not have virtual USB/COM drivers installed.\n";
  const char kLocal[] = "Local computer does not have virtual USB/COM drivers installed.\n";
  struct Case {
    const char* error;
    int is_ok_later;  // WN_IsOK after the gate's first call
    const char* status;
    std::string hint;
  } cases[] = {
      {"no_driver", 1, kSerialMissing, kRemote}, {"no_driver", 0, kDriversOk, kRemote},
      {"no_driver", 0, kSerialMissing, kLocal},  {"no_driver", 0, nullptr, kLocal},
      {"no_drivers", 0, kSerialMissing, ""},     {"No_driver", 0, kSerialMissing, ""},
  };
  for (const Case& c : cases) {
    Json::Value is_ok(Json::arrayValue);
    is_ok.append(1);
    is_ok.append(c.is_ok_later);
    StandInScenario scenario = OneDeviceScenario(kNotConnected);
    scenario.Answer("is_ok", is_ok);
    scenario.Answer("status", c.status ? Json::Value(c.status) : Json::Value());
    scenario.Request("WN_ConnectDeviceAsync", AnsweredRequest(7, c.error));
    ProgramResult result = RunProgram({"connect-device", "41-usb-7"}, ScenarioRun(scenario));
    std::string label = std::string(c.error) + " " + (c.status ? c.status : "null");
    EXPECT_EQ(result.out,
              std::string("ERROR: command finished with error: ") + c.error + "\n" + c.hint)
        << label;
    EXPECT_EQ(result.exit_code, 1) << label;
    EXPECT_EQ(result.err, "") << label;
  }
}

}  // namespace
