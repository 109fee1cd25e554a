// Runs that meet what users and libraries rarely give them: output that
// cannot be written, text beyond ASCII, and answers of an unexpected form.
#include <gtest/gtest.h>
#include <json/value.h>

#include "tests/blackbox/connection_scenario.h"
#include "tests/blackbox/program_runner.h"

namespace {

const char kGate[] = "[\"WN_IsOK\"]\n";
const char kChannel[] = "[\"WN_SetEventCallback\"]\n[\"WN_EnableEventsQueue\",1]\n";

// A logged-in library whose local computer 41 has the one device usb-7, and
// whose lock request is answered after a while.
ProgramRun ListingAndDelayedLock() {
  Json::Value answers = DeviceAnswers("{\"name\":\"Pen\"}");
  answers["computer_info"]["local"] =
      ResultAndText(1, R"({"id_comp":"41","comp_name":"desk","devices":1,"local":true})");
  AnswerRequest(&answers, "WN_LockDeviceAsync", "OK");
  answers["requests"]["WN_LockDeviceAsync"]["delay_ms"] = 200;
  return ScenarioRun(answers);
}

// The output is lost, but the run goes through to its end, quietly, and
// says so by its exit code.
TEST(BrokenOutput, RunEndsQuietlyWithExitCode1) {
  const std::string listing_calls = std::string(kGate) +
                                    "[\"WN_GetComputerInfo\",\"local\"]\n"
                                    "[\"WN_GetDevicesList\",\"41\"]\n"
                                    "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n";
  const std::string lock_calls = std::string(kGate) + "[\"WN_GetDevicesList\",\"41\"]\n" +
                                 kChannel + "[\"WN_LockDeviceAsync\",\"41\",\"usb-7\",1,-1]\n";
  struct Case {
    const char* title;
    std::vector<std::string> arguments;
    ProgramOutput output;
    std::string out;
    std::string calls;  // of the main thread
  } cases[] = {
      {"help --all | head -n 1", {"help", "--all"}, ProgramOutput::kFirstLine,
       "Frontend for " + LibraryName() + "\n", ""},
      {"help --all to a full device", {"help", "--all"}, ProgramOutput::kFull, "", ""},
      {"help --all to a pipe without reader", {"help", "--all"}, ProgramOutput::kReaderGone,
       "", ""},
      {"listing to closed output", {"show-local"}, ProgramOutput::kClosed, "", listing_calls},
      {"listing to a pipe without reader", {"show-local"}, ProgramOutput::kReaderGone, "",
       listing_calls},
      {"action waiting for its answer, output closed", {"lock-device", "41-usb-7"},
       ProgramOutput::kClosed, "", lock_calls},
      {"action waiting for its answer, reader gone", {"lock-device", "41-usb-7"},
       ProgramOutput::kReaderGone, "", lock_calls},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ProgramRun run = ListingAndDelayedLock();
    run.output = c.output;
    ProgramResult result = RunProgram(c.arguments, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(0, result.signal);
    EXPECT_EQ(1, result.exit_code);
    EXPECT_EQ(c.calls, result.MainThreadCalls());
  }
}

// Arguments reach the library as their UTF-8 bytes (an invalid byte as
// U+FFFD), an empty one in its place; the library's text comes back the same
// way.
TEST(TextBeyondAscii, PassesThroughAsUtf8) {
  const std::string name_request = "[\"WN_SetComputerNameAsync\",\"41\",";
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
    std::string last_call;  // of the main thread
  } cases[] = {
      {{"set-comp-name", "41", "caf\xC3\xA9"}, "Success\n",
       name_request + "\"caf\xC3\xA9\",-1]"},
      {{"set-comp-name", "41", "a\xFF" "b"}, "Success\n",
       name_request + "\"a\xEF\xBF\xBD" "b\",-1]"},
      {{"set-comp-name", "41", ""}, "Success\n", name_request + "\"\",-1]"},
      {{"whoami"}, "jos\xC3\xA9@example.org\n", "[\"WN_GetEmail\"]"},
      {{"version"}, "2.6 \xE2\x82\xAC \xF0\x9F\x98\x80\n", "[\"WN_GetLibVersion\"]"},
      // The JSON writer escapes what is not ASCII.
      {{"set-proxy-settings", "--auth", "--user=jos\xC3\xA9", "--passwd=\xFF"}, "Success\n",
       R"(["WN_SetProxySettingsAsync","{\"proxy_auth\":{\"enabled\":true,)"
       R"(\"proxy_passwd\":\"\\ufffd\",\"proxy_user\":\"jos\\u00e9\"},)"
       R"(\"proxy_settings\":{\"enabled\":false,\"proxy_host\":\"\",\"proxy_port\":\"\",)"
       R"(\"proxy_type\":\"\"}}",-1])"},
      {{"get-proxy-settings"},
       "{\n   \"proxy_settings\" : {\n      \"proxy_host\" : \"h\\u00f6st\"\n   }\n}\n",
       "[\"WN_GetProxySettings\",-1]"},
  };
  Json::Value answers;
  answers["is_ok"] = 1;
  answers["status"] = "{\"pipe\":\"connected\"}";
  answers["email"] = ResultAndText(1, "jos\xC3\xA9@example.org");
  answers["version"] = ResultAndText(1, "2.6 \xE2\x82\xAC \xF0\x9F\x98\x80");
  answers["proxy"] = ResultAndText(1, "{\"proxy_settings\":{\"proxy_host\":\"h\xC3\xB6st\"}}");
  AnswerRequest(&answers, "WN_SetComputerNameAsync", "OK");
  AnswerRequest(&answers, "WN_SetProxySettingsAsync", "OK");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(answers));
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(0, result.exit_code);
    std::string calls = result.MainThreadCalls();
    EXPECT_EQ(c.last_call + "\n", calls.substr(calls.rfind('\n', calls.size() - 2) + 1));
  }
}

// A status document that parses but is not an object has no state to give.
TEST(StatusOfAnotherForm, GatesRefuseAndReportsSayItIsUnreadable) {
  const char kUnreadable[] = "ERROR: internal error: can't get status from library\n";
  const char kNotParsed[] = "ERROR: Unable to parse status json\n";
  struct Case {
    const char* status;
    std::vector<std::string> arguments;
    int exit_code;
    std::string out;
  } cases[] = {
      {"[\"connected\"]", {"whoami"}, 1, kUnreadable},
      {"7", {"lock-device", "41-usb-7"}, 1, kUnreadable},
      {"\"login_required\"", {"login", "me@example.org"}, 1, kUnreadable},
      {"\"connected\"", {"status"}, 1, kNotParsed},
      {"true", {"status"}, 1, kNotParsed},
      // The driver check after "no_driver" finds no drivers it can vouch for.
      {"[{\"usb_driver\":\"OK\",\"serial_driver\":\"OK\"}]", {"connect-device", "41-usb-7"}, 1,
       "ERROR: command finished with error: no_driver\n"
       "Local computer does not have virtual USB/COM drivers installed.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    Json::Value answers = DeviceAnswers("{\"status\":\"online\"}");
    // The connection's gate is let through; everything after asks the status.
    answers["is_ok"] = 0;
    if (c.arguments[0] == "connect-device") {
      answers["is_ok"] = Json::Value(Json::arrayValue);
      answers["is_ok"].append(1);
      answers["is_ok"].append(0);
    }
    answers["status"] = c.status;
    AnswerRequest(&answers, "WN_ConnectDeviceAsync", "no_driver");
    ProgramRun run = ScenarioRun(answers);
    run.input = "secret\n";
    ProgramResult result = RunProgram(c.arguments, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(c.exit_code, result.exit_code);
    EXPECT_EQ("", result.err);
  }
}

}  // namespace
