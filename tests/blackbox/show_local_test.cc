// show-local against a scripted library; also the argument scan that the
// three show commands share.
#include <functional>

#include <gtest/gtest.h>

#include "tests/blackbox/console_job.h"
#include "tests/blackbox/listing_cases.h"

namespace {

// Aliases are the first two digits of each id's MD5: usb-7 ec1edd..,
// usb-1 b69eae.., com-1 0350da.., usb-4 0c2361.., cam-1 2c8196.., key-1 21af6b..
// The library lists the devices out of id order.
StandInScenario LocalWorld() {
  StandInScenario scenario;
  scenario.LoggedIn();
  scenario.ComputerInfo("local", R"({"id_comp":"41","comp_name":"desk","devices":6,"local":true})");
  scenario.Devices(
      "41", {{"usb-7", R"({"name":"Printer","description":"office","status":"online",
                     "invites":[{"id_invite":"i1","email":"a@x.org","status":"created"},
                                {"id_invite":"i2","email":"b@x.org","status":"accepted"}]})"},
             // Locked wins over "shared"; its connect_info would not even be readable.
             {"usb-1", R"({"name":"Scanner","status":"shared","locked":true,"connect_info":"?"})"},
             {"com-1", R"({"name":"Modem","description":"","status":"shared","locked":false,
                     "connect_info":{"id_connection":"c9","id_comp_client":"77",
                                     "id_redirector":"r1","is_udp":true,"compress":"zlib"}})"},
             // Invites given as an object come in the order of their names.
             {"usb-4", R"({"name":"Disk","description":"backup","status":"offline",
                     "invites":{"k2":{"id_invite":"k2id","email":"d@x.org","status":"deleted"},
                                "k1":{"id_invite":"k1id","email":"c@x.org","status":"created"}}})"},
             {"cam-1", R"({"name":"Camera","status":"shared","invites":[]})"},
             {"key-1", R"({"name":"Key","status":"shared","locked":0,
                     "connect_info":{"id_connection":"c3","id_comp_client":"88",
                                     "is_udp":"true","compress":"lz4"}})"}});
  return scenario;
}

const char kLocalLine[] = "41\tLocal computer: 'desk' (6 devices)\n";

const char kPrinterInvites[] =
    "\t\tInvites: \n\t\t\tID:i1 to <a@x.org> (sent)\n\t\t\tID:i2 to <b@x.org> (accepted)\n";
const char kDiskInvites[] =
    "\t\tInvites: \n\t\t\tID:k1id to <c@x.org> (sent)\n\t\t\tID:k2id to <d@x.org> (deleted)\n";

std::string PlainDevices(bool invites) {
  return std::string("\tDevices:\n") + "41-ec\t\tPrinter {office}\n" +
         (invites ? kPrinterInvites : "") +
         "41-b6\t\tScanner - LOCKED\n"
         "41-03\t\tModem - connected to computer 77\n"
         "41-0c\t\tDisk [OFFLINE] {backup}\n" +
         (invites ? kDiskInvites : "") +
         "41-2c\t\tCamera - connected to computer \n"
         "41-21\t\tKey - connected to computer 88\n";
}

std::string VerboseDevices(bool invites) {
  return std::string("\tDevices:\n") +
         "41-ec\t\tPrinter\n"
         "\t\tDescription: office\n"
         "\t\tReal device id: usb-7\n"
         "\t\tDevice available for connection\n" +
         (invites ? kPrinterInvites : "") +
         "41-b6\t\tScanner\n"
         "\t\tReal device id: usb-1\n"
         "\t\tDevice locked\n"
         "41-03\t\tModem\n"
         "\t\tReal device id: com-1\n"
         "\t\tConnected to computer 77 (connection via redirector; compression=bestsize; "
         "connection id=c9)\n"
         "41-0c\t\tDisk [OFFLINE]\n"
         "\t\tDescription: backup\n"
         "\t\tReal device id: usb-4\n"
         "\t\tDevice available for connection\n" +
         (invites ? kDiskInvites : "") +
         "41-2c\t\tCamera\n"
         "\t\tReal device id: cam-1\n"
         "\t\tConnected to computer  (; compression=; connection id=)\n"
         "41-21\t\tKey\n"
         "\t\tReal device id: key-1\n"
         "\t\tConnected to computer 88 (udp connection; compression=bestspeed; "
         "connection id=c3)\n";
}

TEST(ShowLocal, WholeListingForEachFlag) {
  const std::vector<ListingCase> cases = {
      {{"show-local"}, kLocalLine + PlainDevices(true)},
      {{"shl", "--verbose"}, kLocalLine + VerboseDevices(true)},
      {{"show-local", "--no-invites"}, kLocalLine + PlainDevices(false)},
      {{"show-local", "--no-invites", "--verbose", "--no-invites"},
       kLocalLine + VerboseDevices(false)},
      {{"show-local", "--no-devices"}, kLocalLine},
      {{"show-local", "--verbose", "--no-devices"}, kLocalLine},
  };
  ExpectListings(LocalWorld(), cases);
}

TEST(ShowLocal, AsksForLocalThenUsesTheComputersOwnId) {
  ProgramResult result = RunProgram({"show-local"}, ScenarioRun(LocalWorld()));
  EXPECT_EQ(
      "[\"WN_IsOK\"]\n"
      "[\"WN_GetComputerInfo\",\"local\"]\n"
      "[\"WN_GetDevicesList\",\"41\"]\n"
      "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n"
      "[\"WN_GetDeviceInfo\",\"41\",\"usb-1\"]\n"
      "[\"WN_GetDeviceInfo\",\"41\",\"com-1\"]\n"
      "[\"WN_GetDeviceInfo\",\"41\",\"usb-4\"]\n"
      "[\"WN_GetDeviceInfo\",\"41\",\"cam-1\"]\n"
      "[\"WN_GetDeviceInfo\",\"41\",\"key-1\"]\n",
      result.CallLog());
}

TEST(ShowLocal, WithoutDevicesOnlyTheComputerLine) {
  StandInScenario scenario;
  scenario.LoggedIn();
  scenario.ComputerInfo("local", R"({"id_comp":"41","comp_name":"","devices":"0","local":1})");
  ProgramResult result = RunProgram({"show-local"}, ScenarioRun(scenario));
  EXPECT_EQ("41\tLocal computer: '' (0 devices)\n", result.out);
  EXPECT_EQ(0, result.exit_code);
  EXPECT_EQ(0, result.CountCalls("WN_GetDevicesList"));
}

// Each failure ends the report with its line and exit code 1.
TEST(ShowLocal, Failures) {
  const std::string line = "41\tLocal computer: 'desk' (2 devices)\n";
  const char kComputer[] = R"({"id_comp":"41","comp_name":"desk","devices":2,"local":true})";
  const char kFree[] = R"({"name":"Pen","status":"online"})";
  struct Case {
    const char* name;
    std::function<void(StandInScenario&)> change;
    std::string expected;
  } cases[] = {
      {"not logged in", [](StandInScenario& s) { s.LoginRequired(); },
       "ERROR: need to login to central server\n"},
      {"no info", [](StandInScenario& s) { s.ComputerInfo("local", "", 0); },
       "ERROR: can't get info about local computer.\n"},
      {"info not json", [](StandInScenario& s) { s.ComputerInfo("local", "{\"id_comp\":"); },
       "ERROR: bad data format with local computer info.\n"},
      {"info an array", [](StandInScenario& s) { s.ComputerInfo("local", R"([{"local":true}])"); },
       "ERROR: bad data format with local computer info.\n"},
      {"info null", [](StandInScenario& s) { s.ComputerInfo("local", "null"); },
       "ERROR: bad data format with local computer info.\n"},
      {"local false",
       [](StandInScenario& s) {
         s.ComputerInfo("local", R"({"id_comp":"41","devices":2,"local":false})");
       },
       "ERROR: wrong data returned.\n"},
      {"local absent",
       [](StandInScenario& s) { s.ComputerInfo("local", R"({"id_comp":"41","devices":2})"); },
       "ERROR: wrong data returned.\n"},
      {"local as text",
       [](StandInScenario& s) {
         s.ComputerInfo("local", R"({"id_comp":"41","devices":2,"local":"true"})");
       },
       "ERROR: wrong data returned.\n"},
      {"devices an array",
       [](StandInScenario& s) {
         s.ComputerInfo("local", R"({"id_comp":"41","devices":[2],"local":true})");
       },
       "ERROR: wrong data returned.\n"},
      {"devices beyond int",
       [](StandInScenario& s) {
         s.ComputerInfo("local", R"({"id_comp":"41","devices":2147483648,"local":true})");
       },
       "ERROR: wrong data returned.\n"},
      {"device count changed",
       [](StandInScenario& s) { s.DeviceList("41", 3, R"(["usb-1","usb-2","usb-3"])"); },
       line + "Wrong number of devices: 3\n"},
      {"device list refused", [](StandInScenario& s) { s.DeviceList("41", -1, ""); },
       line + "Wrong number of devices: -1\n"},
      {"device list an object",
       [](StandInScenario& s) { s.DeviceList("41", 2, R"({"a":"usb-1","b":"usb-2"})"); },
       line + "ERROR: failed to parse json as list of devices ids\n"},
      {"device list too short", [](StandInScenario& s) { s.DeviceList("41", 2, R"(["usb-1"])"); },
       line + "ERROR: number of devices mismatch\n"},
      {"second device missing", [](StandInScenario& s) { s.DeviceInfo("41", "usb-2", "", 0); },
       line + "\tDevices:\n41-b6\t\tPen\nERROR: failed to read info about device\n"},
      {"second device not json",
       [](StandInScenario& s) { s.DeviceInfo("41", "usb-2", "{\"name\""); },
       line + "\tDevices:\n41-b6\t\tPen\nERROR: failed to parse info about device\n"},
      {"second device a text", [](StandInScenario& s) { s.DeviceInfo("41", "usb-2", "\"usb-2\""); },
       line + "\tDevices:\n41-b6\t\tPen\nERROR: failed to parse info about device\n"},
      {"locked as text",
       [](StandInScenario& s) {
         s.DeviceInfo("41", "usb-2", R"({"name":"Pad","status":"online","locked":"no"})");
       },
       line + "\tDevices:\n41-b6\t\tPen\nERROR: wrong data returned.\n"},
      {"connect_info a text",
       [](StandInScenario& s) {
         s.DeviceInfo("41", "usb-2", R"({"name":"Pad","status":"shared","connect_info":"c"})");
       },
       line + "\tDevices:\n41-b6\t\tPen\nERROR: wrong data returned.\n"},
      {"invite a number",
       [](StandInScenario& s) {
         s.DeviceInfo("41", "usb-2", R"({"name":"Pad","status":"online","invites":[null,7]})");
       },
       line + "\tDevices:\n41-b6\t\tPen\nERROR: wrong data returned.\n"},
  };
  for (const Case& c : cases) {
    StandInScenario scenario;
    scenario.LoggedIn();
    scenario.ComputerInfo("local", kComputer);
    scenario.Devices("41", {{"usb-1", kFree}, {"usb-2", kFree}});
    c.change(scenario);
    ProgramResult result = RunProgram({"show-local"}, ScenarioRun(scenario));
    EXPECT_EQ(c.expected, result.out) << c.name;
    EXPECT_EQ(1, result.exit_code) << c.name;
  }
}

// The scan refuses before the service is asked anything.
TEST(ShowCommands, MisuseIsRefusedAlone) {
  const char kExtra[] = "ERROR: extra arguments detected.\n";
  struct Case {
    std::vector<std::string> arguments;
    std::string expected;
  } cases[] = {
      {{"show-remote", "41"}, kExtra},
      {{"show-remote", "-v"}, kExtra},
      {{"show-remote", "-"}, kExtra},
      {{"show-remote", ""}, kExtra},
      {{"show-local", "--verbose", "all"}, kExtra},
      {{"show-invite", "word", "--bogus"}, kExtra},
      {{"show-local", "--online"}, "ERROR: unknown option --online\n"},
      {{"shl", "--offline", "word"}, "ERROR: unknown option --offline\n"},
      {{"show-invite", "--no-invites"}, "ERROR: unknown option --no-invites\n"},
      {{"shi", "--online", "--no-invites"}, "ERROR: unknown option --no-invites\n"},
      {{"show-remote", "--Verbose"}, "ERROR: unknown option --Verbose\n"},
      {{"show-remote", "--verb"}, "ERROR: unknown option --verb\n"},
      {{"show-remote", "--online=1"}, "ERROR: unknown option --online=1\n"},
      {{"shr", "--"}, "ERROR: unknown option --\n"},
      {{"show-remote", "--verbose", "--no-devices", "--x", "41"}, "ERROR: unknown option --x\n"},
  };
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(c.arguments);
    EXPECT_EQ(c.expected, result.out) << c.arguments[1];
    EXPECT_EQ(1, result.exit_code) << c.arguments[1];
    EXPECT_EQ(NoCalls(), result.calls) << c.arguments[1];
  }
}

// At a Windows console, under Wine's, the listing shows the library's text
// as its characters, whatever the console's code page.
TEST(ShowLocalAtAConsole, ShowsTheLibrarysTextAsItsCharacters) {
  if (!ProgramIsForWindows())
    GTEST_SKIP() << "a console of Wine's is for a Windows program";
  const std::string parent = ConsoleParent();
  ASSERT_NE("", parent) << "WNCTL_TEST_CONSOLE_PARENT names no console_parent.exe";
  StandInScenario scenario;
  scenario.LoggedIn();
  scenario.ComputerInfo(
      "local", R"({"id_comp":"41","comp_name":"Caf\u00e9 \u65e5\u672c","devices":1,"local":true})");
  scenario.Devices("41",
                   {{"usb-7", R"({"name":"Printer","description":"Caf\u00e9 \u65e5\u672c"})"}});
  ConsoleJob job({parent, WindowsPath(ProgramPath()), "show-local"}, scenario.Text());
  EXPECT_TRUE(job.WaitForEnd());
  const std::string shown = job.Shown();
  EXPECT_NE(std::string::npos,
            shown.find("Local computer: 'Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC' (1 devices)\n"))
      << shown;
  EXPECT_NE(std::string::npos,
            shown.find("Printer {Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC}\nexit code 0, echo on\n"))
      << shown;
  EXPECT_EQ("", job.Err());
}

}  // namespace
