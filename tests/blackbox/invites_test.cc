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
    // Answered "OK" whatever the stand-in's world would make of them.
    {"requests",
     R"({"WN_MakeInviteAsync":{"id":5,"answer":{"event":"command_result","id_cmd":5,)"
     R"("status":"finished","result":{"error":"OK"}}},)"
     R"("WN_AcceptInviteAsync":{"id":6,"answer":{"event":"command_result","id_cmd":6,)"
     R"("status":"finished","result":{"error":"OK"}}},)"
     R"("WN_DeleteInviteAsync":{"id":7,"answer":{"event":"command_result","id_cmd":7,)"
     R"("status":"finished","result":{"error":"OK"}}}})"},
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
    EXPECT_EQ(c.calls, result.MainThreadCalls());
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

// The library's record of "usb-7", or of "inv1", as JSON text.
std::map<std::string, std::string> DeviceRecord(const std::string& record) {
  return {{"device_info", R"({"41":{"usb-7":[1,")" + record + "\"]}}"}};
}
std::string InviteRecord(const std::string& record) {
  return R"({"inv1":[1,")" + record + "\"]}";
}

TEST(SendInvite, ChecksInOrderAndSendsNothingAfterARefusal) {
  const std::string through_device = Calls({kGate, kResolve, kEvents, kDeviceInfo});
  const std::string through_email = through_device + kEmail;
  const std::string sent =
      through_email + "[\"WN_MakeInviteAsync\",\"41\",\"usb-7\",\"carol@example.com\",-1]\n";
  const std::vector<std::string> to_carol = {"send-invite", "41-usb-7", "carol@example.com"};
  const std::vector<std::string> to_self = {"send-invite", "41-usb-7", "BOB@EXAMPLE.COM"};
  const char kUnreadable[] = "ERROR: failed to parse info about device\n";
  const std::vector<InviteCase> cases = {
      {"another account", to_carol, {}, "Success\n", 0, sent},
      {"own e-mail in other letter case", to_self, {},
       "ERROR: Unable to send invite to yourself\n", 1, through_email},
      {"own e-mail with a trailing blank is someone else's",
       {"send-invite", "41-usb-7", "Bob@Example.com "}, {}, "Success\n", 0,
       through_email + "[\"WN_MakeInviteAsync\",\"41\",\"usb-7\",\"Bob@Example.com \",-1]\n"},
      {"record without \"locked\"", to_carol, DeviceRecord("{}"), "Success\n", 0, sent},
      {"locked device, tested before the e-mail", to_self,
       DeviceRecord(R"({\"locked\":true})"), "ERROR: device locked\n", 1, through_device},
      {"locked as a non-zero number", to_carol, DeviceRecord(R"({\"locked\":2})"),
       "ERROR: device locked\n", 1, through_device},
      {"\"locked\" as a text", to_carol, DeviceRecord(R"({\"locked\":\"no\"})"), kUnreadable, 1,
       through_device},
      {"\"locked\" as an object", to_carol, DeviceRecord(R"({\"locked\":{}})"), kUnreadable, 1,
       through_device},
      {"record that is an array", to_carol, DeviceRecord("[true]"), kUnreadable, 1,
       through_device},
      {"record that is not JSON", to_carol, DeviceRecord("{locked"), kUnreadable, 1,
       through_device},
      {"library without the device's record", to_carol, {{"device_info", R"({"41":{}})"}},
       "ERROR: device not found\n", 1, through_device},
      {"device not in the computer's list", {"send-invite", "41-usb-8", "carol@example.com"}, {},
       "ERROR: device not found\n", 1, Calls({kGate, kResolve})},
      {"own e-mail not to be had", to_carol, {{"email", R"([0,""])"}},
       "ERROR: Unable to get email from library\n", 1, through_email},
      {"event registration fails before any look-up", to_self, {{"set_event_callback", "0"}},
       "ERROR: internal engine error.\n", 1,
       Calls({kGate, kResolve, "[\"WN_SetEventCallback\"]\n"})},
      {"not logged in", to_carol,
       {{"is_ok", "0"}, {"status", R"("{\"pipe\":\"connected\",\"server\":\"login_required\"}")"}},
       "ERROR: need to login to central server\n", 1, "[\"WN_IsOK\"]\n[\"WN_GetStatus\"]\n"},
  };
  RunCases(cases);
}

TEST(AcceptInvite, ChecksInOrderAndSendsNothingAfterARefusal) {
  const std::string looked_up = Calls({kGate, kEmail, kInviteInfo});
  const std::string sent = looked_up + kEvents + "[\"WN_AcceptInviteAsync\",\"inv1\",-1]\n";
  const std::vector<std::string> accept = {"accept-invite", "inv1"};
  const std::string own_invite = InviteRecord(R"({\"from\":\"Bob@Example.com\"})");
  const char kOwn[] = "ERROR: can't accept invite sent to other account\n";
  const char kUnreadable[] = "ERROR: failed to parse info about device\n";
  const std::vector<InviteCase> cases = {
      {"invite from another account", accept, {}, "Success\n", 0, sent},
      {"own invite", accept, {{"invite_info", own_invite}}, kOwn, 1, looked_up},
      {"sender differing in letter case only", accept,
       {{"invite_info", InviteRecord(R"({\"from\":\"bob@example.com\"})")}}, "Success\n", 0,
       sent},
      {"no sender, own e-mail not empty", accept, {{"invite_info", InviteRecord("{}")}},
       "Success\n", 0, sent},
      {"no sender, own e-mail empty", accept,
       {{"invite_info", InviteRecord("{}")}, {"email", R"([1,""])"}}, kOwn, 1, looked_up},
      {"record that is not JSON", accept, {{"invite_info", InviteRecord("{from")}}, kUnreadable,
       1, looked_up},
      {"record that is a text", accept,
       {{"invite_info", InviteRecord(R"(\"Bob@Example.com\")")}}, kUnreadable, 1, looked_up},
      {"missing invite", {"accept-invite", "inv2"}, {}, "ERROR: invite not found\n", 1,
       Calls({kGate, kEmail, "[\"WN_GetInviteInfo\",\"inv2\"]\n"})},
      {"own e-mail not to be had: the invite is not looked up", accept, {{"email", R"([0,""])"}},
       "ERROR: Unable to get email from library\n", 1, Calls({kGate, kEmail})},
      {"event registration fails after the look-ups", accept, {{"set_event_callback", "0"}},
       "ERROR: internal engine error.\n", 1, looked_up + "[\"WN_SetEventCallback\"]\n"},
      {"own invite refused before the event registration", accept,
       {{"set_event_callback", "0"}, {"invite_info", own_invite}}, kOwn, 1, looked_up},
  };
  RunCases(cases);
}

TEST(DeleteInvite, ChecksOnlyThatTheInviteExists) {
  const std::string looked_up = Calls({kGate, kInviteInfo});
  const std::string sent = looked_up + kEvents + "[\"WN_DeleteInviteAsync\",\"inv1\",-1]\n";
  const std::vector<std::string> remove = {"delete-invite", "inv1"};
  const std::vector<std::string> remove_missing = {"delete-invite", "inv2"};
  const std::string missing_looked_up = Calls({kGate, "[\"WN_GetInviteInfo\",\"inv2\"]\n"});
  const std::vector<InviteCase> cases = {
      {"known invite", remove, {}, "Success\n", 0, sent},
      {"own invite: the record is not read", remove,
       {{"invite_info", InviteRecord(R"({\"from\":\"Bob@Example.com\"})")}}, "Success\n", 0,
       sent},
      {"record that is not JSON", remove, {{"invite_info", InviteRecord("{from")}}, "Success\n",
       0, sent},
      {"missing invite", remove_missing, {}, "ERROR: invite not found\n", 1, missing_looked_up},
      {"missing invite refused before the event registration", remove_missing,
       {{"set_event_callback", "0"}}, "ERROR: invite not found\n", 1, missing_looked_up},
      {"event registration fails after the look-up", remove, {{"set_event_callback", "0"}},
       "ERROR: internal engine error.\n", 1, looked_up + "[\"WN_SetEventCallback\"]\n"},
  };
  RunCases(cases);
}

}  // namespace
