#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/blackbox/program_runner.h"
#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"

namespace {

// A logged-in computer "41" with the one device "usb-7", an account whose
// own e-mail is Bob@Example.com, and the invite "inv1" from another account.
// Each case changes some of these answers.
StandInScenario Invites() {
  StandInScenario scenario;
  scenario.LoggedIn();
  scenario.Answer("email", ResultAndText(1, "Bob@Example.com"));
  scenario.Devices("41", {{"usb-7", R"({"locked":false})"}});
  scenario.InviteInfo("inv1", R"({"from":"alice@example.com"})");
  // Answered "OK" whatever the stand-in's world would make of them.
  scenario.Request("WN_MakeInviteAsync", AnsweredRequest(5));
  scenario.Request("WN_AcceptInviteAsync", AnsweredRequest(6));
  scenario.Request("WN_DeleteInviteAsync", AnsweredRequest(7));
  return scenario;
}

struct InviteCase {
  std::string title;
  std::vector<std::string> arguments;
  StandInScenario scenario;
  std::string out;
  int exit_code;
  std::string calls;
};

void RunCases(const std::vector<InviteCase>& cases) {
  for (const InviteCase& c : cases) {
    SCOPED_TRACE(c.title);
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(c.scenario));
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(c.exit_code, result.exit_code);
    EXPECT_EQ(c.calls, result.MainThreadCalls());
  }
}

const char kDeviceInfo[] = "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n";
const char kEmail[] = "[\"WN_GetEmail\"]\n";
const char kInviteInfo[] = "[\"WN_GetInviteInfo\",\"inv1\"]\n";

std::string Calls(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& part : parts)
    text += part;
  return text;
}

// The library's record of "usb-7", or of "inv1", as JSON text.
StandInScenario DeviceRecord(const std::string& record) {
  return Invites().DeviceInfo("41", "usb-7", record);
}
StandInScenario InviteRecord(const std::string& record) {
  return Invites().InviteInfo("inv1", record);
}

TEST(SendInvite, ChecksInOrderAndSendsNothingAfterARefusal) {
  const std::string resolve = DevicesListCall("41");
  const std::string through_device = Calls({kIsOkCall, resolve, kEventChannelCalls, kDeviceInfo});
  const std::string through_email = through_device + kEmail;
  const std::string sent =
      through_email + "[\"WN_MakeInviteAsync\",\"41\",\"usb-7\",\"carol@example.com\",-1]\n";
  const std::vector<std::string> to_carol = {"send-invite", "41-usb-7", "carol@example.com"};
  const std::vector<std::string> to_self = {"send-invite", "41-usb-7", "BOB@EXAMPLE.COM"};
  const char kUnreadable[] = "ERROR: failed to parse info about device\n";
  const std::vector<InviteCase> cases = {
      {"another account", to_carol, Invites(), "Success\n", 0, sent},
      {"own e-mail in other letter case", to_self, Invites(),
       "ERROR: Unable to send invite to yourself\n", 1, through_email},
      {"own e-mail with a trailing blank is someone else's",
       {"send-invite", "41-usb-7", "Bob@Example.com "},
       Invites(),
       "Success\n",
       0,
       through_email + "[\"WN_MakeInviteAsync\",\"41\",\"usb-7\",\"Bob@Example.com \",-1]\n"},
      {"record without \"locked\"", to_carol, DeviceRecord("{}"), "Success\n", 0, sent},
      {"locked device, tested before the e-mail", to_self, DeviceRecord(R"({"locked":true})"),
       "ERROR: device locked\n", 1, through_device},
      {"locked as a non-zero number", to_carol, DeviceRecord(R"({"locked":2})"),
       "ERROR: device locked\n", 1, through_device},
      {"\"locked\" as a text", to_carol, DeviceRecord(R"({"locked":"no"})"), kUnreadable, 1,
       through_device},
      {"\"locked\" as an object", to_carol, DeviceRecord(R"({"locked":{}})"), kUnreadable, 1,
       through_device},
      {"record that is an array", to_carol, DeviceRecord("[true]"), kUnreadable, 1, through_device},
      {"record that is not JSON", to_carol, DeviceRecord("{locked"), kUnreadable, 1,
       through_device},
      {"library without the device's record", to_carol,
       Invites().Answer("device_info", ParseJson(R"({"41":{}})")), "ERROR: device not found\n", 1,
       through_device},
      {"device not in the computer's list",
       {"send-invite", "41-usb-8", "carol@example.com"},
       Invites(),
       "ERROR: device not found\n",
       1,
       Calls({kIsOkCall, resolve})},
      {"own e-mail not to be had", to_carol, Invites().Answer("email", ResultAndText(0, "")),
       "ERROR: Unable to get email from library\n", 1, through_email},
      {"event registration fails before any look-up", to_self,
       Invites().Answer("set_event_callback", 0), "ERROR: internal engine error.\n", 1,
       Calls({kIsOkCall, resolve, kSetEventCallbackCall})},
      {"not logged in", to_carol, Invites().LoginRequired(),
       "ERROR: need to login to central server\n", 1, kStatusGateCalls},
  };
  RunCases(cases);
}

TEST(AcceptInvite, ChecksInOrderAndSendsNothingAfterARefusal) {
  const std::string looked_up = Calls({kIsOkCall, kEmail, kInviteInfo});
  const std::string sent =
      looked_up + kEventChannelCalls + "[\"WN_AcceptInviteAsync\",\"inv1\",-1]\n";
  const std::vector<std::string> accept = {"accept-invite", "inv1"};
  const StandInScenario own_invite = InviteRecord(R"({"from":"Bob@Example.com"})");
  const char kOwn[] = "ERROR: can't accept invite sent to other account\n";
  const char kUnreadable[] = "ERROR: failed to parse info about device\n";
  const std::vector<InviteCase> cases = {
      {"invite from another account", accept, Invites(), "Success\n", 0, sent},
      {"own invite", accept, own_invite, kOwn, 1, looked_up},
      {"sender differing in letter case only", accept,
       InviteRecord(R"({"from":"bob@example.com"})"), "Success\n", 0, sent},
      {"no sender, own e-mail not empty", accept, InviteRecord("{}"), "Success\n", 0, sent},
      {"no sender, own e-mail empty", accept,
       InviteRecord("{}").Answer("email", ResultAndText(1, "")), kOwn, 1, looked_up},
      {"record that is not JSON", accept, InviteRecord("{from"), kUnreadable, 1, looked_up},
      {"record that is a text", accept, InviteRecord(R"("Bob@Example.com")"), kUnreadable, 1,
       looked_up},
      {"missing invite",
       {"accept-invite", "inv2"},
       Invites(),
       "ERROR: invite not found\n",
       1,
       Calls({kIsOkCall, kEmail, "[\"WN_GetInviteInfo\",\"inv2\"]\n"})},
      {"own e-mail not to be had: the invite is not looked up", accept,
       Invites().Answer("email", ResultAndText(0, "")), "ERROR: Unable to get email from library\n",
       1, Calls({kIsOkCall, kEmail})},
      {"event registration fails after the look-ups", accept,
       Invites().Answer("set_event_callback", 0), "ERROR: internal engine error.\n", 1,
       looked_up + kSetEventCallbackCall},
      {"own invite refused before the event registration", accept,
       StandInScenario(own_invite).Answer("set_event_callback", 0), kOwn, 1, looked_up},
  };
  RunCases(cases);
}

TEST(DeleteInvite, ChecksOnlyThatTheInviteExists) {
  const std::string looked_up = Calls({kIsOkCall, kInviteInfo});
  const std::string sent =
      looked_up + kEventChannelCalls + "[\"WN_DeleteInviteAsync\",\"inv1\",-1]\n";
  const std::vector<std::string> remove = {"delete-invite", "inv1"};
  const std::vector<std::string> remove_missing = {"delete-invite", "inv2"};
  const std::string missing_looked_up = Calls({kIsOkCall, "[\"WN_GetInviteInfo\",\"inv2\"]\n"});
  const std::vector<InviteCase> cases = {
      {"known invite", remove, Invites(), "Success\n", 0, sent},
      {"own invite: the record is not read", remove, InviteRecord(R"({"from":"Bob@Example.com"})"),
       "Success\n", 0, sent},
      {"record that is not JSON", remove, InviteRecord("{from"), "Success\n", 0, sent},
      {"missing invite", remove_missing, Invites(), "ERROR: invite not found\n", 1,
       missing_looked_up},
      {"missing invite refused before the event registration", remove_missing,
       Invites().Answer("set_event_callback", 0), "ERROR: invite not found\n", 1,
       missing_looked_up},
      {"event registration fails after the look-up", remove,
       Invites().Answer("set_event_callback", 0), "ERROR: internal engine error.\n", 1,
       looked_up + kSetEventCallbackCall},
  };
  RunCases(cases);
}

}  // namespace
