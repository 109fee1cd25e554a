// show-invite against a scripted library.
#include <functional>

#include <gtest/gtest.h>

#include "tests/blackbox/listing_cases.h"

namespace {

// Aliases are the first two digits of each id's MD5: ser-1 a26ccd..,
// usb-9 f3d959.., usb-8 9b00d2.., ser-2 fc6347...
StandInScenario InviteWorld() {
  StandInScenario scenario;
  scenario.LoggedIn();
  scenario.ComputerList("other", {"90", "91", "92"});
  scenario.ComputerList("online-other", {"90"});
  scenario.ComputerList("offline-other", {"91", "92"});
  scenario.ComputerInfo(
      "90", R"({"comp_name":"alice-pc","email":"alice@x.org","status":"online","devices":3})");
  scenario.ComputerInfo(
      "91", R"({"comp_name":"bob-pc","email":"bob@x.org","status":"offline","devices":0})");
  scenario.ComputerInfo(
      "92", R"({"comp_name":"carol","email":"carol@x.org","status":"offline","devices":1})");
  scenario.Devices("90", {{"ser-1", R"({"name":"Serial","description":"lab","status":"online",
                     "invites":[{"id_invite":"v1","status":"created"},
                                {"id_invite":"v2","status":"accepted"}]})"},
                          // No locked state here: a "shared" device is connected.
                          {"usb-9", R"({"name":"Drive","status":"shared","locked":true,
                     "connect_info":{"id_connection":"c8","id_comp_client":"41",
                                     "id_redirector":"","is_udp":false,"compress":"zlib"},
                     "invites":[{"id_invite":"v3","status":"accepted"}]})"},
                          // Of invites given as an object, the first by name is shown.
                          {"usb-8", R"({"name":"Dongle","status":"offline",
                     "invites":{"b":{"id_invite":"v5","status":"created"},
                                "a":{"id_invite":"v4","status":"accepted"}}})"}});
  scenario.Devices("92", {{"ser-2", R"({"name":"Probe","status":"shared",
                                        "invites":[{"id_invite":"v6","status":"created"}]})"}});
  return scenario;
}

const char kHead90[] = "90\tComputer of <alice@x.org> 'alice-pc' (3 invites)\n";
const char kHead91[] = "91\tComputer of <bob@x.org> 'bob-pc' [OFFLINE] (0 invites)\n";
const char kHead92[] = "92\tComputer of <carol@x.org> 'carol' [OFFLINE] (1 invites)\n";

std::string Block90(bool verbose) {
  if (!verbose) {
    return kHead90 + std::string("\tDevices:\n") +
           "90-a2\t\tSerial (invite ID:v1 - waiting for accept) {lab}\n"
           "90-f3\t\tDrive (invite ID:v3 - accepted) - connected to computer 41\n"
           "90-9b\t\tDongle (invite ID:v4 - accepted) [OFFLINE]\n\n";
  }
  return kHead90 + std::string("\tDevices:\n") +
         "90-a2\t\tSerial (invite ID:v1 - waiting for accept)\n"
         "\t\tDescription: lab\n"
         "\t\tReal device id: ser-1\n"
         "90-f3\t\tDrive (invite ID:v3 - accepted)\n"
         "\t\tReal device id: usb-9\n"
         "\t\tConnected to computer 41 (direct connection; compression=bestsize; "
         "connection id=c8)\n"
         "90-9b\t\tDongle (invite ID:v4 - accepted) [OFFLINE]\n"
         "\t\tReal device id: usb-8\n\n";
}

const std::string kBlock91 = kHead91 + std::string("\n");

std::string Block92(bool verbose) {
  if (!verbose) {
    return kHead92 + std::string("\tDevices:\n") +
           "92-fc\t\tProbe (invite ID:v6 - waiting for accept) - connected to computer \n\n";
  }
  return kHead92 + std::string("\tDevices:\n") +
         "92-fc\t\tProbe (invite ID:v6 - waiting for accept)\n"
         "\t\tReal device id: ser-2\n"
         "\t\tConnected to computer  (; compression=; connection id=)\n\n";
}

TEST(ShowInvite, WholeListingForEachFlag) {
  const std::vector<ListingCase> cases = {
      {{"show-invite"}, Block90(false) + kBlock91 + Block92(false)},
      {{"shi", "--verbose"}, Block90(true) + kBlock91 + Block92(true)},
      {{"show-invite", "--no-devices"}, std::string(kHead90) + kHead91 + kHead92},
      {{"show-invite", "--online"}, Block90(false)},
      {{"show-invite", "--offline", "--verbose"}, kBlock91 + Block92(true)},
      {{"show-invite", "--online", "--offline"}, Block90(false) + kBlock91 + Block92(false)},
      {{"show-invite", "--no-devices", "--offline"}, std::string(kHead91) + kHead92},
  };
  ExpectListings(InviteWorld(), cases);
}

// Only the filter that the flags call for is scripted: any other is refused.
TEST(ShowInvite, EmptyListForEachFilter) {
  const std::vector<EmptyListCase> cases = {
      {{"show-invite"}, "other", "There is no invites from other accounts\n"},
      {{"show-invite", "--online"},
       "online-other",
       "There is no invites from other accounts which are online\n"},
      {{"show-invite", "--offline"},
       "offline-other",
       "There is no invites from other accounts which are offline\n"},
      {{"show-invite", "--offline", "--online"},
       "other",
       "There is no invites from other accounts\n"},
  };
  ExpectEmptyLists(cases);
}

TEST(ShowInvite, Failures) {
  const std::string head = "90\tComputer of <a@x.org> 'a' (2 invites)\n";
  const std::string block = head +
                            "\tDevices:\n90-b6\t\tPen (invite ID:v1 - accepted)\n"
                            "90-22\t\tPen (invite ID:v1 - accepted)\n\n";
  const std::string first_device = head + "\tDevices:\n90-b6\t\tPen (invite ID:v1 - accepted)\n";
  const char kOffered[] =
      R"({"name":"Pen","status":"online","invites":[{"id_invite":"v1","status":"accepted"}]})";
  const std::string no_invite = "ERROR: no detailed info about invite from other account\n\n";
  auto second_device = [](const char* answer) {
    return [answer](StandInScenario& s) { s.DeviceInfo("90", "usb-2", answer); };
  };
  struct Case {
    const char* name;
    std::function<void(StandInScenario&)> change;
    std::string expected;
  } cases[] = {
      {"login required", [](StandInScenario& s) { s.LoginRequired(); },
       "ERROR: need to login to central server\n"},
      {"list refused", [](StandInScenario& s) { s.ComputerList("other", -2, "[]"); },
       "ERROR: can't get list of remote computers\n"},
      {"list an object", [](StandInScenario& s) { s.ComputerList("other", 1, R"({"90":1})"); },
       "ERROR: can't parse list of remote computers\n"},
      {"list too short", [](StandInScenario& s) { s.ComputerList("other", 3, R"(["90","91"])"); },
       "ERROR: number of remote computers mismatch\n"},
      {"first e-mail absent",
       [](StandInScenario& s) { s.ComputerInfo("90", R"({"comp_name":"a","devices":2})"); },
       "ERROR: remote computer 90 from other account has no user email.\n"},
      {"second e-mail empty",
       [](StandInScenario& s) {
         s.ComputerInfo("91", R"({"comp_name":"b","email":"","devices":0})");
       },
       block + "ERROR: remote computer 91 from other account has no user email.\n"},
      {"second computer missing", [](StandInScenario& s) { s.ComputerInfo("91", "", 0); },
       block + "ERROR: can't get info about remote computer 91\n"},
      {"second computer not json", [](StandInScenario& s) { s.ComputerInfo("91", "{]"); },
       block + "ERROR: can't parse info about remote computer 91\n"},
      {"second computer a number", [](StandInScenario& s) { s.ComputerInfo("91", "5"); },
       block + "ERROR: can't parse info about remote computer 91\n"},
      {"second computer's count beyond int",
       [](StandInScenario& s) {
         s.ComputerInfo("91", R"({"comp_name":"b","email":"b@x.org","devices":1e10})");
       },
       block + "ERROR: wrong data returned.\n"},
      {"device count changed",
       [](StandInScenario& s) { s.DeviceList("90", 3, R"(["usb-1","usb-2","usb-3"])"); },
       head + "Wrong number of devices: 3\n\n"},
      {"device list an object",
       [](StandInScenario& s) { s.DeviceList("90", 2, R"({"usb-1":1,"usb-2":2})"); },
       head + "ERROR: failed to parse json as list of devices ids\n\n"},
      {"device list too short", [](StandInScenario& s) { s.DeviceList("90", 2, "[]"); },
       head + "ERROR: number of devices mismatch\n\n"},
      {"second device missing", [](StandInScenario& s) { s.DeviceInfo("90", "usb-2", "", 0); },
       first_device + "ERROR: failed to read info about device\n\n"},
      {"second device not json", second_device("{\"name\":\"Pen\""),
       first_device + "ERROR: failed to parse info about device\n\n"},
      {"second device an array", second_device("[]"),
       first_device + "ERROR: failed to parse info about device\n\n"},
      {"invites empty", second_device(R"({"name":"Pad","invites":[]})"), first_device + no_invite},
      {"invites an empty object", second_device(R"({"name":"Pad","invites":{}})"),
       first_device + no_invite},
      {"invites null", second_device(R"({"name":"Pad","invites":null})"), first_device + no_invite},
      {"invites absent", second_device(R"({"name":"Pad","status":"shared"})"),
       first_device + no_invite},
      {"invites a text", second_device(R"({"name":"Pad","invites":"v1"})"),
       first_device + "ERROR: wrong data returned.\n\n"},
      {"first invite a number", second_device(R"({"name":"Pad","invites":[5,{}]})"),
       first_device + "ERROR: wrong data returned.\n\n"},
      {"connect_info a number", second_device(R"({"name":"Pad","status":"shared","connect_info":3,
                         "invites":[{"id_invite":"v2"}]})"),
       first_device + "ERROR: wrong data returned.\n\n"},
  };
  for (const Case& c : cases) {
    StandInScenario scenario;
    scenario.LoggedIn();
    scenario.ComputerList("other", {"90", "91"});
    scenario.ComputerInfo("90", R"({"comp_name":"a","email":"a@x.org","devices":2})");
    scenario.ComputerInfo("91", R"({"comp_name":"b","email":"b@x.org","devices":0})");
    scenario.Devices("90", {{"usb-1", kOffered}, {"usb-2", kOffered}});
    c.change(scenario);
    ProgramResult result = RunProgram({"show-invite"}, ScenarioRun(scenario));
    EXPECT_EQ(c.expected, result.out) << c.name;
    EXPECT_EQ(1, result.exit_code) << c.name;
  }
}

}  // namespace
