#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <json/json.h>

#include "tests/blackbox/program_runner.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"

namespace {

const char kNoConnection[] =
    "ERROR: no connection to local service. Check output of `status` command.\n";

const std::string& SetProxyHelpBlock() {
  static const std::string block = HelpBlock("set-proxy-settings");
  return block;
}

ProgramResult RunSetProxy(const std::vector<std::string>& options) {
  std::vector<std::string> arguments = {"set-proxy-settings"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  // A computer that needs a login: the service's pipe is connected.
  return RunProgram(arguments, ScenarioRun(StandInScenario().LoginRequired()));
}

// The settings text of the call log's WN_SetProxySettingsAsync lines.
std::vector<std::string> SentSettings(const ProgramResult& result) {
  std::vector<std::string> sent;
  for (const std::string& line : result.calls) {
    Json::Value call;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    if (!reader->parse(line.data(), line.data() + line.size(), &call, &errors) || !call.isArray() ||
        call[0].asString() != "WN_SetProxySettingsAsync")
      continue;
    EXPECT_EQ(3u, call.size()) << line;
    EXPECT_EQ(Json::Value(-1), call[2]) << line;
    sent.push_back(call[1].asString());
  }
  return sent;
}

// The calls of the main thread, with the request's document left out: it
// is checked on its own.
std::string MainThreadCalls(const ProgramResult& result) {
  const std::string request = "[\"WN_SetProxySettingsAsync\"";
  std::string text;
  std::istringstream lines(result.MainThreadCalls());
  for (std::string line; std::getline(lines, line);)
    text += (line.rfind(request, 0) == 0 ? request + "]" : line) + "\n";
  return text;
}

// Every misuse is caught before the library is called, by the first check
// that fails: the parser, positional words, the type, the address, the user.
TEST(SetProxySettings, RefusesInCheckOrderWithoutCallingTheLibrary) {
  const char kExtra[] = "ERROR: extra arguments detected.\n";
  const char kType[] = "ERROR: wrong proxy type.\n";
  const char kAddress[] = "ERROR: wrong proxy server address.\n";
  const char kUser[] = "ERROR: expected user name to authenticate on proxy server.\n";
  struct Case {
    std::vector<std::string> options;
    std::string line;
  } cases[] = {
      {{"--p=1"}, "ERROR: multiple matches to option --p=1 (--port, --passwd)\n"},
      {{"--enable=yes"}, "ERROR: option --enable should not have value, but got: --enable=yes\n"},
      {{"--enable", "--host"},
       "ERROR: last option --host expected value but command line is suddenly terminated.\n"},
      {{"--proxy"}, "ERROR: unknown option: --proxy\n"},
      {{"now"}, kExtra},
      {{"--enable", "now"}, kExtra},
      {{"--enable"}, kType},
      {{"--enable", "--host=h", "--port=8080"}, kType},
      {{"--enable", "--type=HTTP", "--host=h", "--port=8080"}, kType},
      {{"--enable", "--type=http ", "--host=h", "--port=8080"}, kType},
      {{"--enable", "--auth"}, kType},
      {{"--disable", "--enable", "--type=x"}, kType},
      {{"--enable", "--disable", "--enable", "--type=x"}, kType},
      {{"--enable", "--type=socks5", "--host=h"}, kAddress},
      {{"--enable", "--type=socks4", "--port=8080"}, kAddress},
      {{"--enable", "--type=http", "--host=", "--port=8080"}, kAddress},
      {{"--enable", "--type=http", "--auth"}, kAddress},
      {{"--auth"}, kUser},
      {{"--disable", "--auth"}, kUser},
      {{"--no-auth", "--auth", "--passwd=secret"}, kUser},
      {{"--enable", "--type=http", "--host=h", "--port=8080", "--auth", "--user="}, kUser},
  };
  ASSERT_NE("", SetProxyHelpBlock());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.options));
    ProgramResult result = RunSetProxy(c.options);
    EXPECT_EQ(c.line + SetProxyHelpBlock(), result.out);
    EXPECT_EQ(1, result.exit_code);
    EXPECT_EQ("", result.CallLog());
  }
}

// Every call sends all seven settings, the port as a string, compact and in
// key order; the proxy off or the authentication off skips their checks.
TEST(SetProxySettings, SendsTheWholeSettingsDocument) {
  struct Case {
    std::vector<std::string> options;
    std::string sent;
  } cases[] = {
      {{},
       R"({"proxy_auth":{"enabled":false,"proxy_passwd":"","proxy_user":""},)"
       R"("proxy_settings":{"enabled":false,"proxy_host":"","proxy_port":"","proxy_type":""}})"},
      {{"--enable", "--disable", "--type=x"},
       R"({"proxy_auth":{"enabled":false,"proxy_passwd":"","proxy_user":""},)"
       R"("proxy_settings":{"enabled":false,"proxy_host":"","proxy_port":"","proxy_type":"x"}})"},
      {{"--enable", "--type=http", "--host=proxy.local", "--port=abc"},
       R"({"proxy_auth":{"enabled":false,"proxy_passwd":"","proxy_user":""},)"
       R"("proxy_settings":{"enabled":true,"proxy_host":"proxy.local","proxy_port":"abc",)"
       R"("proxy_type":"http"}})"},
      {{"--auth", "--user=bob"},
       R"({"proxy_auth":{"enabled":true,"proxy_passwd":"","proxy_user":"bob"},)"
       R"("proxy_settings":{"enabled":false,"proxy_host":"","proxy_port":"","proxy_type":""}})"},
      // Prefixes, values in the next argument, the last value winning, and
      // texts that need escaping.
      {{"--en", "--ty", "socks5", "--h=first", "--h", "10.0.0.1", "--po", "08080", "--a", "--u",
        "bob smith", "--pa", "p\"w\\d =x", "--no-auth", "--auth"},
       R"({"proxy_auth":{"enabled":true,"proxy_passwd":"p\"w\\d =x","proxy_user":"bob smith"},)"
       R"("proxy_settings":{"enabled":true,"proxy_host":"10.0.0.1","proxy_port":"08080",)"
       R"("proxy_type":"socks5"}})"},
      {{"--auth", "--no-auth", "--passwd=--kept", "--user="},
       R"({"proxy_auth":{"enabled":false,"proxy_passwd":"--kept","proxy_user":""},)"
       R"("proxy_settings":{"enabled":false,"proxy_host":"","proxy_port":"","proxy_type":""}})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.options));
    ProgramResult result = RunSetProxy(c.options);
    EXPECT_EQ("Success\n", result.out);
    EXPECT_EQ(0, result.exit_code);
    EXPECT_EQ(std::vector<std::string>{c.sent}, SentSettings(result));
  }
}

// Only the pipe counts: after the settling poll of 100 ms (two status
// queries at most) the status is read once more.
TEST(SetProxySettings, GateAsksOnlyForThePipe) {
  const std::string success_calls =
      kEventChannelCalls + std::string("[\"WN_SetProxySettingsAsync\"]\n");
  const std::string status = kGetStatusCall;
  // WN_IsOK answers `is_ok`, and WN_GetStatus `status` (null: the call fails).
  auto service = [](int is_ok, const Json::Value& status_text) {
    return StandInScenario().Answer("is_ok", is_ok).Answer("status", status_text);
  };
  struct Case {
    const char* title;
    StandInScenario scenario;
    std::string out;
    int exit_code;
    std::string calls;
  } cases[] = {
      {"disconnected", service(0, R"({"pipe":"disconnected"})"), kNoConnection, 1,
       kIsOkCall + status + status + status},
      {"busy", service(0, R"({"pipe":"busy","server":"connected"})"), kNoConnection, 1,
       kIsOkCall + status + status},
      {"status unreadable", service(0, Json::Value()),
       std::string("ERROR: Unable to read status from library\n") + kNoConnection, 1,
       kIsOkCall + status + status},
      {"status not JSON", service(0, "{pipe"),
       std::string("ERROR: Unable to parse status json\n") + kNoConnection, 1,
       kIsOkCall + status + status},
      {"status not an object", service(0, R"(["connected"])"),
       std::string("ERROR: Unable to parse status json\n") + kNoConnection, 1,
       kIsOkCall + status + status},
      {"pipe not told", service(0, R"({"server":"connected"})"), kNoConnection, 1,
       kIsOkCall + status + status},
      {"central server unreachable", service(0, R"({"pipe":"connected","server":"disconnected"})"),
       "Success\n", 0, kIsOkCall + status + status + status + success_calls},
      {"logged in", service(1, R"({"pipe":"connected","server":"connected"})"), "Success\n", 0,
       kIsOkCall + status + success_calls},
      {"event registration fails",
       service(1, R"({"pipe":"connected"})").Answer("set_event_callback", 0),
       "ERROR: internal engine error.\n", 1, kIsOkCall + status + kSetEventCallbackCall},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ProgramResult result = RunProgram({"set-proxy-settings"}, ScenarioRun(c.scenario));
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(c.exit_code, result.exit_code);
    EXPECT_EQ(c.calls, MainThreadCalls(result));
  }
}

std::string ProxyScenario(const std::string& settings_text) {
  return StandInScenario().Answer("proxy", ResultAndText(1, settings_text)).Text();
}

// The password is masked whatever it held; the rest is shown as the library
// holds it, pretty-printed, ending in the writer's one newline.
TEST(GetProxySettings, MasksThePassword) {
  const std::string settings =
      "   \"proxy_settings\" : {\n"
      "      \"enabled\" : true,\n"
      "      \"proxy_host\" : \"10.0.0.1\",\n"
      "      \"proxy_port\" : \"3128\",\n"
      "      \"proxy_type\" : \"http\"\n"
      "   }\n";
  const std::string masked =
      "{\n"
      "   \"proxy_auth\" : {\n"
      "      \"enabled\" : true,\n"
      "      \"proxy_passwd\" : \"*****\",\n"
      "      \"proxy_user\" : \"bob\"\n"
      "   },\n" +
      settings + "}\n";
  const std::string settings_json =
      R"("proxy_settings":{"proxy_type":"http","proxy_port":"3128","enabled":true,)"
      R"("proxy_host":"10.0.0.1"})";
  auto with_auth = [&](const std::string& passwd_member) {
    return "{\"proxy_auth\":{\"enabled\":true," + passwd_member + "\"proxy_user\":\"bob\"}," +
           settings_json + "}";
  };
  struct Case {
    const char* title;
    std::string document;
    std::string out;
  } cases[] = {
      {"a password", with_auth("\"proxy_passwd\":\"s3cr3t\","), masked},
      {"an empty password", with_auth("\"proxy_passwd\":\"\","), masked},
      {"a null password", with_auth("\"proxy_passwd\":null,"), masked},
      {"a password that is not a text", with_auth("\"proxy_passwd\":{\"x\":\"s3cr3t\"},"), masked},
      {"no password", with_auth(""),
       "{\n"
       "   \"proxy_auth\" : {\n"
       "      \"enabled\" : true,\n"
       "      \"proxy_user\" : \"bob\"\n"
       "   },\n" +
           settings + "}\n"},
      {"no authentication", "{" + settings_json + "}", "{\n" + settings + "}\n"},
      {"a null authentication", "{\"proxy_auth\":null," + settings_json + "}",
       "{\n   \"proxy_auth\" : null,\n" + settings + "}\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ProgramRun run;
    run.scenario = ProxyScenario(c.document);
    ProgramResult result = RunProgram({"get-proxy-settings"}, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(0, result.exit_code);
    EXPECT_EQ("[\"WN_GetProxySettings\",-1]\n", result.CallLog());
  }
}

// Nothing but the one line is shown when the settings are not of their
// form, so a password can never leak unmasked.
TEST(GetProxySettings, RefusesWhatItCannotMask) {
  const char kParse[] = "ERROR: Unable to parse json with proxy settings\n";
  struct Case {
    const char* title;
    std::string scenario;
    std::string out;
  } cases[] = {
      {"read fails", StandInScenario().Answer("proxy", ResultAndText(0, "")).Text(),
       "Can't read proxy settings from library\n"},
      {"not JSON", ProxyScenario("{\"proxy_auth\":{\"proxy_passwd\":\"s3cr3t\""), kParse},
      {"an array", ProxyScenario("[{\"proxy_auth\":{\"proxy_passwd\":\"s3cr3t\"}}]"), kParse},
      {"a text", ProxyScenario("\"s3cr3t\""), kParse},
      {"authentication as a text", ProxyScenario("{\"proxy_auth\":\"s3cr3t\"}"), kParse},
      {"authentication as an array",
       ProxyScenario("{\"proxy_auth\":[{\"proxy_passwd\":\"s3cr3t\"}]}"), kParse},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ProgramRun run;
    run.scenario = c.scenario;
    ProgramResult result = RunProgram({"get-proxy-settings"}, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(1, result.exit_code);
  }
}

}  // namespace
