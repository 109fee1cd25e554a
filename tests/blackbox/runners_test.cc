// The plain actions: the request each sends, the check of its answer, and
// the refusals that end a run before anything is sent.
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/blackbox/program_runner.h"
#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"
#include "tests/support/test_files.h"

namespace {

// A logged-in library whose computer 41 has two devices, usb-a-269144 and
// usb-b-76020; their digests begin 59f0 and 66c1, so their aliases are 59
// and 66.
StandInScenario TwoDevices() {
  return StandInScenario().LoggedIn().DeviceList("41", 2, R"(["usb-a-269144","usb-b-76020"])");
}

const char kLock[] = "WN_LockDeviceAsync";

TEST(Runners, EachSendsItsRequest) {
  const std::string list = DevicesListCall("41");
  struct Case {
    std::vector<std::string> arguments;
    std::string lookups;  // between the gate and the channel
    std::string request;
  } cases[] = {
      {{"set-comp-name", "41", "Lab PC"}, "", R"(["WN_SetComputerNameAsync","41","Lab PC",-1])"},
      {{"logout", "local"}, "", R"(["WN_LogoutComputerAsync","local",-1])"},
      {{"set-device-description", "41-59", "Scanner"},
       list,
       R"(["WN_SetDeviceDescriptionAsync","41","usb-a-269144","Scanner",-1])"},
      {{"clear-device-description", "41-66c"},
       list,
       R"(["WN_SetDeviceDescriptionAsync","41","usb-b-76020","",-1])"},
      {{"lock-device", "41-usb-b-76020"},
       list,
       R"(["WN_LockDeviceAsync","41","usb-b-76020",1,-1])"},
      {{"unlock-device", "41-5"}, list, R"(["WN_LockDeviceAsync","41","usb-a-269144",0,-1])"},
      {{"disconnect-device", "41-59"},
       list,
       R"(["WN_DisconnectDeviceAsync","41","usb-a-269144",-1])"},
      {{"set-comport-name", "41-66"}, list, ""},  // the name is added below
      {{"clear-comport-name", "41-66"},
       list,
       R"(["WN_SetComportNameAsync","41","usb-b-76020","",-1])"},
      {{"forget-connection", "41-59"},
       list,
       R"(["WN_ForgetConnectionAsync","41","usb-a-269144",-1])"},
  };
  cases[7].arguments.push_back("COM7");
  cases[7].request = R"(["WN_SetComportNameAsync","41","usb-b-76020","COM7",-1])";
  StandInScenario scenario = TwoDevices();
  for (const char* function :
       {"WN_SetComputerNameAsync", "WN_LogoutComputerAsync", "WN_SetDeviceDescriptionAsync",
        "WN_LockDeviceAsync", "WN_DisconnectDeviceAsync", "WN_SetComportNameAsync",
        "WN_ForgetConnectionAsync"})
    scenario.Request(function, AnsweredRequest(7));
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(scenario));
    EXPECT_EQ("Success\n", result.out) << c.arguments[0];
    EXPECT_EQ(0, result.exit_code) << c.arguments[0];
    EXPECT_EQ(kIsOkCall + c.lookups + kEventChannelCalls + c.request + "\n",
              result.MainThreadCalls())
        << c.arguments[0];
    EXPECT_GE(result.CountCalls("WN_GetEvents"), 1) << c.arguments[0];
    EXPECT_EQ("", result.err);
  }
}

// What needs the library's thread and the program's output: the answer
// found among other events and batches, and an error text shown escaped.
// How each answer reads is the command runner's own tests' table.
TEST(Runners, AnswerCheck) {
  struct Case {
    const char* request;
    int exit_code;
    const char* out;
  } cases[] = {
      {R"({"id":7,"answer":{"event":"command_result","id_cmd":"7","status":"finished",
           "result":{"error":"OK"}}})",
       0, "Success\n"},
      // An error text cannot forge a line of its own.
      {R"({"id":7,"answer":{"event":"command_result","id_cmd":7,"status":"finished",
           "result":{"error":"denied\nSuccess\r\u001b[1A"}}})",
       1, "ERROR: command finished with error: denied\\nSuccess\\r\\x1b[1A\n"},
      // The answer among other events, in one drain and in several.
      {R"({"id":7,"answer":{"event":"command_result","id_cmd":7,"status":"finished",
           "result":{"error":"OK"}},
           "batches":["[{\"event\":\"device_changed\"},12,null]","{\"event\":\"x\"}","[]"]})",
       0, "Success\n"},
      {R"({"id":7,"answer":{"event":"Command_result","id_cmd":7,"status":"finished",
           "result":{"error":"OK"}},
           "drains":[["[{\"event\":\"command_results\",\"id_cmd\":7}]",
                      "[{\"id_cmd\":7},{\"event\":\"command_result\",\"id_cmd\":7,\"status\":\"finished\",\"result\":{\"error\":\"late\"}}]"]]})",
       1, "ERROR: command finished with error: late\n"},
      // One batch is handed over whole, as the answer it leaves: its last.
      {R"({"id":5,"answer":null,"batches":["[)"
       R"({\"event\":\"command_result\",\"id_cmd\":999,\"status\":\"finished\",\"result\":{\"error\":\"OK\"}},)"
       R"({\"event\":\"command_result\",\"id_cmd\":5,\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}]"]})",
       0, "Success\n"},
      {R"({"id":5,"answer":null,"batches":["[)"
       R"({\"event\":\"command_result\",\"id_cmd\":5,\"status\":\"finished\",\"result\":{\"error\":\"OK\"}},)"
       R"({\"event\":\"command_result\",\"id_cmd\":999,\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}]"]})",
       1, "ERROR: answer on wrong command received.\n"},
  };
  for (const Case& c : cases) {
    StandInScenario scenario = TwoDevices().Request(kLock, ParseJson(c.request));
    ProgramResult result = RunProgram({"lock-device", "41-59"}, ScenarioRun(scenario));
    EXPECT_EQ(c.out, result.out) << c.request;
    EXPECT_EQ(c.exit_code, result.exit_code) << c.request;
    EXPECT_EQ("", result.err) << c.request;
  }
}

TEST(Runners, RefusalsSendNothingFurther) {
  const std::string gate = kIsOkCall;
  const std::string list = DevicesListCall("41");
  const StandInScenario answers = TwoDevices();
  const StandInScenario not_started = TwoDevices().Request(kLock, ScriptedRequest().Id(0));
  const StandInScenario no_callback = TwoDevices().Answer("set_event_callback", 0);
  const StandInScenario no_queue = TwoDevices().Answer("enable_events_queue", 0);
  const StandInScenario login_required = StandInScenario().LoginRequired();
  const StandInScenario busy =
      StandInScenario().Answer("is_ok", 0).Answer("status", R"({"pipe":"busy"})");
  const StandInScenario empty_list = TwoDevices().DeviceList("41", 3, "[]");
  const StandInScenario no_list = TwoDevices().DeviceList("41", -1, R"(["usb-a-269144"])");
  const StandInScenario bad_list = TwoDevices().DeviceList("41", 1, R"({"usb-a-269144":1})");
  const StandInScenario clashing = TwoDevices().DeviceList("41", 2, R"(["1","c4"])");
  const std::string wrong_alias =
      "ERROR: wrong id device alias;\n"
      "       see \"help --id-device\" for explanations.\n";
  struct Case {
    StandInScenario scenario;
    std::vector<std::string> arguments;
    std::string out;
    std::string calls;
  } cases[] = {
      {login_required,
       {"lock-device", "41-59"},
       "ERROR: need to login to central server\n",
       kStatusGateCalls},
      {busy,
       {"logout", "41"},
       "ERROR: local service is busy: taken by some other application\n",
       kStatusGateCalls},
      {answers, {"lock-device", "4159"}, wrong_alias, gate},
      {answers, {"forget-connection", "41-"}, wrong_alias, gate},
      {answers, {"disconnect-device", "-59"}, wrong_alias, gate},
      {answers, {"lock-device", "41-77"}, "ERROR: device not found\n", gate + list},
      {answers, {"lock-device", "41-59F"}, "ERROR: device not found\n", gate + list},
      {answers,
       {"lock-device", "42-59"},
       "ERROR: device not found\n",
       gate + "[\"WN_GetDevicesList\",\"42\"]\n"},
      {empty_list, {"lock-device", "41-59"}, "ERROR: device not found\n", gate + list},
      {no_list, {"lock-device", "41-usb-a-269144"}, "ERROR: device not found\n", gate + list},
      {bad_list,
       {"lock-device", "41-59"},
       "ERROR: failed to parse json as list of devices ids\n",
       gate + list},
      {clashing,
       {"lock-device", "41-c4"},
       "ERROR: found more than one device with such id alias. Use longer id alias.\n",
       gate + list},
      {no_callback,
       {"lock-device", "41-59"},
       "ERROR: internal engine error.\n",
       gate + list + kSetEventCallbackCall},
      {no_queue,
       {"set-comp-name", "41", "x"},
       "ERROR: internal engine error.\n",
       gate + kEventChannelCalls},
      {not_started,
       {"lock-device", "41-59"},
       "ERROR: Can't execute command.\n",
       gate + list + kEventChannelCalls + R"(["WN_LockDeviceAsync","41","usb-a-269144",1,-1])" +
           "\n"},
  };
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(c.scenario));
    EXPECT_EQ(c.out, result.out) << c.arguments[1];
    EXPECT_EQ(1, result.exit_code) << c.arguments[1];
    EXPECT_EQ(c.calls, result.CallLog()) << c.arguments[1];
  }
}

TEST(Runners, UnparsableBatchIsReported) {
  StandInScenario scenario = TwoDevices().Request(
      kLock, ScriptedRequest().Id(7).Drain({"not json"}).Drain({CommandResultBatch(7)}));
  ProgramResult result = RunProgram({"lock-device", "41-59"}, ScenarioRun(scenario));
  EXPECT_EQ("ERROR: Can't parse json event\nSuccess\n", result.out);
  EXPECT_EQ(0, result.exit_code);
}

// The library's thread prints one line for each unparsable batch while the
// main thread prints its own. Whatever order the two take, each line arrives
// whole: the output is exactly the main thread's lines and a number of parse
// errors. Errors after the answer race with the exit, which may silence
// them, so their number is a range.
TEST(Runners, LinesOfBothThreadsArriveWhole) {
  const std::string kParseError = "ERROR: Can't parse json event";
  const int kDrains = 20;
  StandInScenario lock = TwoDevices().EarlyDrain({"not json"}, kDrains);
  lock.Request(kLock, ScriptedRequest()
                          .Id(7)
                          .Drain({"not json"}, kDrains)
                          .Drain({CommandResultBatch(7), "not json"})
                          .Drain({"not json"}, kDrains));
  // At the prompt, the library's lines wait for the prompt's line to end.
  StandInScenario login = StandInScenario().LoginRequired();
  login.Request("WN_LoginComputerAsync", AnsweredRequest(7));
  login.EarlyDrain({"not json"}, kDrains);
  struct Case {
    StandInScenario scenario;
    std::vector<std::string> arguments;
    std::multiset<std::string> main_lines;
    int least_errors;
    int most_errors;
  } cases[] = {
      {lock, {"lock-device", "41-59"}, {"Success"}, 2 * kDrains, 3 * kDrains + 1},
      {login,
       {"login", "me@example.org"},
       {"Password: ", "Successfully logged in."},
       kDrains,
       kDrains},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0]);
    ProgramRun run = ScenarioRun(c.scenario);
    run.input = "secret\n";
    for (int i = 0; i < 5; ++i) {
      ProgramResult result = RunProgram(c.arguments, run);
      ASSERT_EQ(0, result.exit_code) << result.out;
      ASSERT_EQ('\n', result.out.back());
      std::multiset<std::string> main_lines;
      int errors = 0;
      std::istringstream lines(result.out);
      for (std::string line; std::getline(lines, line);) {
        if (line == kParseError)
          ++errors;
        else
          main_lines.insert(line);
      }
      ASSERT_EQ(c.main_lines, main_lines) << result.out;
      ASSERT_LE(c.least_errors, errors);
      ASSERT_GE(c.most_errors, errors);
    }
  }
}

// Twenty copies of one batch.
std::vector<std::string> ManyBatches(const std::string& batch) {
  return std::vector<std::string>(20, batch);
}

TEST(Runners, EventsAtExitLeaveTheRunIntact) {
  // Events keep arriving while the program ends: after an answer that ends
  // the run at once, and during the exit of a run whose request failed.
  const int kDrains = 40;
  struct Case {
    StandInScenario scenario;
    int exit_code;
    const char* out;
  } cases[] = {
      {TwoDevices().Request(
           kLock, ScriptedRequest().Id(7).Drain(ManyBatches(CommandResultBatch(7)), kDrains)),
       0, "Success\n"},
      {TwoDevices()
           .Request(kLock, ScriptedRequest().Id(0))
           .EarlyDrain(ManyBatches(CommandResultBatch(7)), kDrains),
       1, "ERROR: Can't execute command.\n"},
      {TwoDevices().Request(
           kLock, ScriptedRequest().Id(7).Drain(ManyBatches(CommandResultBatch(8)), kDrains)),
       1, "ERROR: answer on wrong command received.\n"},
  };
  for (const Case& c : cases) {
    ProgramRun run = ScenarioRun(c.scenario);
    for (int i = 0; i < 15; ++i) {
      ProgramResult result = RunProgram({"lock-device", "41-59"}, run);
      ASSERT_EQ(c.out, result.out);
      ASSERT_EQ(c.exit_code, result.exit_code);
      ASSERT_EQ("", result.err);
    }
  }
}

// In the demo world, 43 is offline and its two devices wait to reconnect.
TEST(Runners, AForgottenConnectionIsNoLongerWaitedFor) {
  const std::string lab_pc =
      "42\tRemote computer 'lab-pc' (4 devices)\n"
      "\tDevices:\n"
      "42-d0\t\tArduino Uno - connected to computer 41\n"
      "42-18\t\tYubiKey 5 NFC - connected to computer 41\n"
      "42-01\t\tWacom Intuos Pen Tablet [OFFLINE]\n"
      "42-03\t\tCommunications Port (COM1)\n"
      "\n";
  const struct {
    std::vector<std::string> arguments;
    std::string out;
    int exit_code;
  } runs[] = {
      {{"forget-connection", "43-17"}, "Success\n", 0},
      {{"show-remote"},
       lab_pc +
           "43\tRemote computer 'home-laptop' [OFFLINE] (1 devices waiting for auto-reconnect)\n"
           "\tDevices:\n"
           "43-95\t\tProlific USB-to-Serial Comm Port [OFFLINE]\n"
           "\n",
       0},
      {{"forget-connection", "43-17"}, "ERROR: device not found\n", 1},
  };
  TempDir dir;
  ProgramRun run;
  run.state_file = dir.File("state.json");
  for (const auto& r : runs) {
    ProgramResult result = RunProgram(r.arguments, run);
    std::string label = testing::PrintToString(r.arguments);
    EXPECT_EQ(r.out, result.out) << label;
    EXPECT_EQ(r.exit_code, result.exit_code) << label;
    EXPECT_EQ("", result.err) << label;
  }
}

}  // namespace
