#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/blackbox/program_runner.h"

namespace {

// A logged-in computer "41" with the one device "usb-7", an account whose
// own e-mail is Bob@Example.com, and the invite "inv1" from another account.
// Each case replaces whole members of these answers.
const std::map<std::string, std::string> kBaseAnswers = {
    {"is_ok", "1"},
    {"email", R"([1,"Bob@Example.com"])"},
    {"device_lists", R"({"41":[1,"[\"usb-7\"]"]})"},
    {"device_info", R"({"41":{"usb-7":[1,"{\"locked\":false}"]}})"},
    {"invite_info", R"({"inv1":[1,"{\"from\":\"alice@example.com\"}"]})"},
};

std::string Scenario(const std::map<std::string, std::string>& changes) {
  std::map<std::string, std::string> answers = kBaseAnswers;
  for (const auto& change : changes)
    answers[change.first] = change.second;
  std::string text;
  for (const auto& answer : answers)
    text += (text.empty() ? "" : ",") + ("\"" + answer.first + "\":" + answer.second);
  return "{\"answers\":{" + text + "}}";
}

// The calls of the main thread, in order; the drains of the library's
// thread are left out.
std::string MainThreadCalls(const ProgramResult& result) {
  std::string text;
  for (const std::string& line : result.calls) {
    if (line.rfind("[\"WN_GetEvents\"", 0) != 0)
      text += line + "\n";
  }
  return text;
}

struct InviteCase {
  std::string title;
  std::vector<std::string> arguments;
  std::map<std::string, std::string> changes;
  std::string out;
  int exit_code;
  std::string calls;
};

void RunCases(const std::vector<InviteCase>& cases) {
  for (const InviteCase& c : cases) {
    SCOPED_TRACE(c.title);
    ProgramRun run;
    run.scenario = Scenario(c.changes);
    ProgramResult result = RunProgram(c.arguments, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(c.exit_code, result.exit_code);
    EXPECT_EQ(c.calls, MainThreadCalls(result));
  }
}

const char kGate[] = "[\"WN_IsOK\"]\n";
const char kResolve[] = "[\"WN_GetDevicesList\",\"41\"]\n";
const char kEvents[] = "[\"WN_SetEventCallback\"]\n[\"WN_EnableEventsQueue\",1]\n";
const char kDeviceInfo[] = "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n";
const char kEmail[] = "[\"WN_GetEmail\"]\n";
const char kInviteInfo[] = "[\"WN_GetInviteInfo\",\"inv1\"]\n";

std::string Calls(std::initializer_list<const char*> parts) {
  std::string text;
  for (const char* part : parts)
    text += part;
  return text;
}

TEST(SendInvite, ChecksInOrderAndSendsNothingAfterARefusal) {
  const std::string through_device = Calls({kGate, kResolve, kEvents, kDeviceInfo});
  const std::string through_email = through_device + kEmail;
  const std::vector<std::string> to_carol = {"send-invite", "41-usb-7", "carol@example.com"};
  const std::vector<std::string> to_self = {"send-invite", "41-usb-7", "BOB@EXAMPLE.COM"};
  const std::vector<InviteCase> cases = {
      {"another account",
       to_carol,
       {},
       "Success\n",
       0,
       through_email + "[\"WN_MakeInviteAsync\",\"41\",\"usb-7\",\"carol@example.com\",-1]\n"},
      {"own e-mail in other letter case",
       to_self,
       {},
       "ERROR: Unable to send invite to yourself\n",
       1,
       through_email},
      {"own e-mail with a trailing blank is someone else",
       {"send-invite", "41-usb-7", "Bob@Example.com "},
       {},
       "Success\n",
       0,
       through_email + "[\"WN_MakeInviteAsync\",\"41\",\"usb-7\",\"Bob@Example.com \",-1]\n"},
      {"record without \"locked\"",
       to_carol,
       {{"device_info", R"({"41":{"usb-7":[1,"{}"]}})"}},
       "Success\n",
       0,
       through_email + "[\"WN_MakeInviteAsync\",\"41\",\"usb-7\",\"carol@example.com\",-1]\n"},
      {"locked device, tested before the e-mail",
       to_self,
       {{"device_info", R"({"41":{"usb-7":[1,"{\"locked\":true}"]}})"}},
       "ERROR: device locked\n",
       1,
       through_device},
      {"locked as a non-zero number",
       to_carol,
       {{"device_info", R"({"41":{"usb-7":[1,"{\"locked\":2}"]}})"}},
       "ERROR: device locked\n",
       1,
       through_device},
      {"\"locked\" as a text",
       to_carol,
       {{"device_info", R"({"41":{"usb-7":[1,"{\"locked\":\"no\"}"]}})"}},
       "ERROR: failed to parse info about device\n",
       1,
       through_device},
      {"\"locked\" as an object",
       to_carol,
       {{"device_info", R"({"41":{"usb-7":[1,"{\"locked\":{}}"]}})"}},
       "ERROR: failed to parse info about device\n",
       1,
       through_device},
      {"record that is an array",
       to_carol,
       {{"device_info", R"({"41":{"usb-7":[1,"[true]"]}})"}},
       "ERROR: failed to parse info about device\n",
       1,
       through_device},
      {"record that is not JSON",
       to_carol,
       {{"device_info", R"({"41":{"usb-7":[1,"{locked"]}})"}},
       "ERROR: failed to parse info about device\n",
       1,
       through_device},
      {"library without the device's record",
       to_carol,
       {{"device_info", R"({"41":{}})"}},
       "ERROR: device not found\n",
       1,
       through_device},
      {"device not in the computer's list",
       {"send-invite", "41-usb-8", "carol@example.com"},
       {},
       "ERROR: device not found\n",
       1,
       Calls({kGate, kResolve})},
      {"own e-mail not to be had",
       to_carol,
       {{"email", R"([0,""])"}},
       "ERROR: Unable to get email from library\n",
       1,
       through_email},
      {"event registration fails before any look-up",
       to_self,
       {{"set_event_callback", "0"}},
       "ERROR: internal engine error.\n",
       1,
       Calls({kGate, kResolve, "[\"WN_SetEventCallback\"]\n"})},
      {"not logged in",
       to_carol,
       {{"is_ok", "0"}, {"status", R"("{\"pipe\":\"connected\",\"server\":\"login_required\"}")"}},
       "ERROR: need to login to central server\n",
       1,
       "[\"WN_IsOK\"]\n[\"WN_GetStatus\"]\n"},
  };
  RunCases(cases);
}

TEST(AcceptInvite, ChecksInOrderAndSendsNothingAfterARefusal) {
  const std::string looked_up = Calls({kGate, kEmail, kInviteInfo});
  const std::string accepted = looked_up + kEvents + "[\"WN_AcceptInviteAsync\",\"inv1\",-1]\n";
  const std::vector<std::string> accept = {"accept-invite", "inv1"};
  auto invite = [](const char* record) { return std::string(R"({"inv1":[1,")") + record + "\"]}"; };
  const std::vector<InviteCase> cases = {
      {"invite from another account", accept, {}, "Success\n", 0, accepted},
      {"own invite",
       accept,
       {{"invite_info", invite(R"({\"from\":\"Bob@Example.com\"})")}},
       "ERROR: can't accept invite sent to other account\n",
       1,
       looked_up},
      {"sender differing in letter case only",
       accept,
       {{"invite_info", invite(R"({\"from\":\"bob@example.com\"})")}},
       "Success\n",
       0,
       accepted},
      {"record without \"from\", own e-mail not empty",
       accept,
       {{"invite_info", invite("{}")}},
       "Success\n",
       0,
       accepted},
      {"record without \"from\", own e-mail empty",
       accept,
       {{"invite_info", invite("{}")}, {"email", R"([1,""])"}},
       "ERROR: can't accept invite sent to other account\n",
       1,
       looked_up},
      {"record that is not JSON",
       accept,
       {{"invite_info", invite("{from")}},
       "ERROR: failed to parse info about device\n",
       1,
       looked_up},
      {"record that is a text",
       accept,
       {{"invite_info", invite(R"(\"Bob@Example.com\")")}},
       "ERROR: failed to parse info about device\n",
       1,
       looked_up},
      {"missing invite",
       {"accept-invite", "inv2"},
       {},
       "ERROR: invite not found\n",
       1,
       Calls({kGate, kEmail, "[\"WN_GetInviteInfo\",\"inv2\"]\n"})},
      {"own e-mail not to be had: the invite is not looked up",
       accept,
       {{"email", R"([0,""])"}},
       "ERROR: Unable to get email from library\n",
       1,
       Calls({kGate, kEmail})},
      {"event registration fails after the look-ups",
       accept,
       {{"set_event_callback", "0"}},
       "ERROR: internal engine error.\n",
       1,
       looked_up + "[\"WN_SetEventCallback\"]\n"},
      {"own invite refused before the event registration",
       accept,
       {{"set_event_callback", "0"}, {"invite_info", invite(R"({\"from\":\"Bob@Example.com\"})")}},
       "ERROR: can't accept invite sent to other account\n",
       1,
       looked_up},
  };
  RunCases(cases);
}

TEST(DeleteInvite, ChecksOnlyThatTheInviteExists) {
  const std::string looked_up = Calls({kGate, kInviteInfo});
  const std::string deleted = looked_up + kEvents + "[\"WN_DeleteInviteAsync\",\"inv1\",-1]\n";
  const std::vector<std::string> remove = {"delete-invite", "inv1"};
  const std::vector<InviteCase> cases = {
      {"known invite", remove, {}, "Success\n", 0, deleted},
      {"own invite, record not read",
       remove,
       {{"invite_info", R"({"inv1":[1,"{\"from\":\"Bob@Example.com\"}"]})"}},
       "Success\n",
       0,
       deleted},
      {"record that is not JSON",
       remove,
       {{"invite_info", R"({"inv1":[1,"{from"]})"}},
       "Success\n",
       0,
       deleted},
      {"missing invite",
       {"delete-invite", "inv2"},
       {},
       "ERROR: invite not found\n",
       1,
       Calls({kGate, "[\"WN_GetInviteInfo\",\"inv2\"]\n"})},
      {"missing invite refused before the event registration",
       {"delete-invite", "inv2"},
       {{"set_event_callback", "0"}},
       "ERROR: invite not found\n",
       1,
       Calls({kGate, "[\"WN_GetInviteInfo\",\"inv2\"]\n"})},
      {"event registration fails after the look-up",
       remove,
       {{"set_event_callback", "0"}},
       "ERROR: internal engine error.\n",
       1,
       looked_up + "[\"WN_SetEventCallback\"]\n"},
  };
  RunCases(cases);
}

}  // namespace
