// show-remote against a scripted library.
#include <functional>

#include <gtest/gtest.h>

#include "tests/blackbox/listing_cases.h"

namespace {

// Aliases are prefixes of each id's MD5: usb-36 a182.., usb-2 22498f..,
// usb-3 a1d07c.., usb-6 b0ae2a... On 55, usb-36 and usb-3 share "a1", so all
// of its aliases take three digits; 62 has its own aliases, of two digits.
StandInScenario RemoteWorld() {
  StandInScenario scenario;
  scenario.LoggedIn();
  scenario.ComputerList("remote", {"55", "62", "70", "81"});
  scenario.ComputerList("online-remote", {"55", "70"});
  scenario.ComputerList("offline-remote", {"62", "81"});
  scenario.ComputerInfo("55", R"({"comp_name":"laptop","status":"online","devices":3})");
  scenario.ComputerInfo("62", R"({"comp_name":"server","status":"offline","devices":2})");
  scenario.ComputerInfo("70", R"({"comp_name":"empty","status":"online","devices":0})");
  scenario.ComputerInfo("81", R"({"comp_name":"old","status":"offline","devices":"0"})");
  scenario.Devices("55",
                   // "locked" means nothing on a remote computer.
                   {{"usb-36", R"({"name":"Phone","status":"shared","locked":true,
                      "connect_info":{"id_connection":"c1","id_comp_client":"41",
                                      "is_udp":true,"compress":"no"}})"},
                    {"usb-2", R"({"name":"Mouse","description":"wireless","status":"online"})"},
                    {"usb-3", R"({"name":"Tablet","status":"offline",
                     "invites":[{"id_invite":"i7","email":"e@x.org","status":"created"}]})"}});
  scenario.Devices("62", {{"usb-3", R"({"name":"Hub","status":"offline"})"},
                          {"usb-6", R"({"name":"Pen","status":"shared",
                           "connect_info":{"id_connection":"c5","id_comp_client":"41",
                                           "is_udp":"TRUE","compress":"lz4"}})"}});
  return scenario;
}

const char kHead55[] = "55\tRemote computer 'laptop' (3 devices)\n";
const char kHead62[] =
    "62\tRemote computer 'server' [OFFLINE] (2 devices waiting for auto-reconnect)\n";
const char kHead70[] = "70\tRemote computer 'empty' (0 devices)\n";
const char kHead81[] = "81\tRemote computer 'old' [OFFLINE]\n";

std::string Block55(bool verbose, bool invites) {
  std::string tablet_invites = invites ? "\t\tInvites: \n\t\t\tID:i7 to <e@x.org> (sent)\n" : "";
  if (!verbose) {
    return kHead55 + std::string("\tDevices:\n") +
           "55-a18\t\tPhone - connected to computer 41\n"
           "55-224\t\tMouse {wireless}\n"
           "55-a1d\t\tTablet [OFFLINE]\n" +
           tablet_invites + "\n";
  }
  return kHead55 + std::string("\tDevices:\n") +
         "55-a18\t\tPhone\n"
         "\t\tReal device id: usb-36\n"
         "\t\tConnected to computer 41 (udp connection; compression=no; connection id=c1)\n"
         "55-224\t\tMouse\n"
         "\t\tDescription: wireless\n"
         "\t\tReal device id: usb-2\n"
         "55-a1d\t\tTablet [OFFLINE]\n"
         "\t\tReal device id: usb-3\n" +
         tablet_invites + "\n";
}

std::string Block62(bool verbose) {
  if (!verbose) {
    return kHead62 + std::string("\tDevices:\n") +
           "62-a1\t\tHub [OFFLINE]\n"
           "62-b0\t\tPen - connected to computer 41\n\n";
  }
  return kHead62 + std::string("\tDevices:\n") +
         "62-a1\t\tHub [OFFLINE]\n"
         "\t\tReal device id: usb-3\n"
         "62-b0\t\tPen\n"
         "\t\tReal device id: usb-6\n"
         "\t\tConnected to computer 41 (direct connection; compression=bestspeed; "
         "connection id=c5)\n\n";
}

const std::string kBlock70 = kHead70 + std::string("\n");
const std::string kBlock81 = kHead81 + std::string("\n");

TEST(ShowRemote, WholeListingForEachFlag) {
  const std::vector<ListingCase> cases = {
      {{"show-remote"}, Block55(false, true) + Block62(false) + kBlock70 + kBlock81},
      {{"shr", "--verbose"}, Block55(true, true) + Block62(true) + kBlock70 + kBlock81},
      {{"show-remote", "--no-invites"},
       Block55(false, false) + Block62(false) + kBlock70 + kBlock81},
      {{"show-remote", "--no-devices"}, std::string(kHead55) + kHead62 + kHead70 + kHead81},
      {{"show-remote", "--online"}, Block55(false, true) + kBlock70},
      {{"show-remote", "--offline", "--verbose"}, Block62(true) + kBlock81},
      {{"show-remote", "--offline", "--online"},
       Block55(false, true) + Block62(false) + kBlock70 + kBlock81},
      {{"show-remote", "--online", "--no-devices", "--online"}, std::string(kHead55) + kHead70},
  };
  ExpectListings(RemoteWorld(), cases);
}

// Only the filter that the flags call for is scripted: any other is refused.
TEST(ShowRemote, EmptyListForEachFilter) {
  const std::vector<EmptyListCase> cases = {
      {{"show-remote"}, "remote", "This account has no remote computers\n"},
      {{"show-remote", "--online"},
       "online-remote",
       "This account has no remote computers which are online\n"},
      {{"show-remote", "--offline"},
       "offline-remote",
       "This account has no remote computers which are offline\n"},
      {{"show-remote", "--online", "--offline"},
       "remote",
       "This account has no remote computers\n"},
  };
  ExpectEmptyLists(cases);
}

TEST(ShowRemote, Failures) {
  const std::string head = "55\tRemote computer 'a' (2 devices)\n";
  const std::string block = head + "\tDevices:\n55-b6\t\tPen\n55-22\t\tPen\n\n";
  const std::string first_device = head + "\tDevices:\n55-b6\t\tPen\n";
  const char kFree[] = R"({"name":"Pen","status":"online"})";
  struct Case {
    const char* name;
    std::function<void(StandInScenario&)> change;
    std::string expected;
  } cases[] = {
      {"service busy",
       [](StandInScenario& s) { s.Answer("is_ok", 0).Answer("status", R"({"pipe":"busy"})"); },
       "ERROR: local service is busy: taken by some other application\n"},
      {"list refused", [](StandInScenario& s) { s.ComputerList("remote", -1, ""); },
       "ERROR: can't get list of remote computers\n"},
      {"list a text", [](StandInScenario& s) { s.ComputerList("remote", 2, "\"55,62\""); },
       "ERROR: can't parse list of remote computers\n"},
      {"list not json", [](StandInScenario& s) { s.ComputerList("remote", 2, "[\"55\","); },
       "ERROR: can't parse list of remote computers\n"},
      {"list empty", [](StandInScenario& s) { s.ComputerList("remote", 2, "[]"); },
       "ERROR: number of remote computers mismatch\n"},
      {"list too long", [](StandInScenario& s) { s.ComputerList("remote", 1, R"(["55","62"])"); },
       "ERROR: number of remote computers mismatch\n"},
      {"second computer missing", [](StandInScenario& s) { s.ComputerInfo("62", "", 0); },
       block + "ERROR: can't get info about remote computer 62\n"},
      {"second computer not json",
       [](StandInScenario& s) { s.ComputerInfo("62", "{\"comp_name\":"); },
       block + "ERROR: can't parse info about remote computer 62\n"},
      {"second computer an array",
       [](StandInScenario& s) { s.ComputerInfo("62", R"([{"comp_name":"b"}])"); },
       block + "ERROR: can't parse info about remote computer 62\n"},
      {"second computer's count an object",
       [](StandInScenario& s) { s.ComputerInfo("62", R"({"comp_name":"b","devices":{}})"); },
       block + "ERROR: wrong data returned.\n"},
      {"device count changed", [](StandInScenario& s) { s.DeviceList("55", 1, R"(["usb-1"])"); },
       head + "Wrong number of devices: 1\n\n"},
      {"device list not json", [](StandInScenario& s) { s.DeviceList("55", 2, "usb-1"); },
       head + "ERROR: failed to parse json as list of devices ids\n\n"},
      {"device list too long",
       [](StandInScenario& s) { s.DeviceList("55", 2, R"(["usb-1","usb-2","usb-3"])"); },
       head + "ERROR: number of devices mismatch\n\n"},
      {"second device missing", [](StandInScenario& s) { s.DeviceInfo("55", "usb-2", "", 0); },
       first_device + "ERROR: failed to read info about device\n\n"},
      {"second device not json", [](StandInScenario& s) { s.DeviceInfo("55", "usb-2", "{"); },
       first_device + "ERROR: failed to parse info about device\n\n"},
      {"second device's connect_info an array",
       [](StandInScenario& s) {
         s.DeviceInfo("55", "usb-2", R"({"name":"Pad","status":"shared","connect_info":[1]})");
       },
       first_device + "ERROR: wrong data returned.\n\n"},
  };
  for (const Case& c : cases) {
    StandInScenario scenario;
    scenario.LoggedIn();
    scenario.ComputerList("remote", {"55", "62"});
    scenario.ComputerInfo("55", R"({"comp_name":"a","devices":2})");
    scenario.ComputerInfo("62", R"({"comp_name":"b","devices":0})");
    scenario.Devices("55", {{"usb-1", kFree}, {"usb-2", kFree}});
    c.change(scenario);
    ProgramResult result = RunProgram({"show-remote"}, ScenarioRun(scenario));
    EXPECT_EQ(c.expected, result.out) << c.name;
    EXPECT_EQ(1, result.exit_code) << c.name;
  }
}

}  // namespace
