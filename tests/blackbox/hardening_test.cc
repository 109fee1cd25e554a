// Runs that meet what users and libraries rarely give them: output that
// cannot be written, text beyond ASCII, answers of an unexpected form, state
// files that cannot serve or stay locked, and too little memory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <optional>

#include <gtest/gtest.h>
#include <json/value.h>

#include "tests/blackbox/connection_cases.h"
#include "tests/blackbox/program_runner.h"
#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"
#include "tests/support/lock_holder.h"
#include "tests/support/stand_in_scenario.h"
#include "tests/support/test_files.h"

namespace {

const char kNoNonBlockingHandles[] =
    "a Windows handle is never non-blocking: only Wine's own handling would be tested";
const char kNoResourceLimits[] = "Windows has no resource limits (ulimit)";

// A logged-in library whose local computer 41 has the one device usb-7, and
// whose lock request is answered after a while.
ProgramRun ListingAndDelayedLock() {
  StandInScenario scenario = OneDeviceScenario("{\"name\":\"Pen\"}");
  scenario.ComputerInfo("local", R"({"id_comp":"41","comp_name":"desk","devices":1,"local":true})");
  scenario.Request("WN_LockDeviceAsync", AnsweredRequest(7).DelayMs(200));
  return ScenarioRun(scenario);
}

// The output is lost, but the run goes through to its end, quietly, and
// says so by its exit code.
TEST(BrokenOutput, RunEndsQuietlyWithExitCode1) {
  const std::string listing_calls =
      kIsOkCall + std::string("[\"WN_GetComputerInfo\",\"local\"]\n") + DevicesListCall("41") +
      "[\"WN_GetDeviceInfo\",\"41\",\"usb-7\"]\n";
  const std::string lock_calls = kIsOkCall + DevicesListCall("41") + kEventChannelCalls +
                                 "[\"WN_LockDeviceAsync\",\"41\",\"usb-7\",1,-1]\n";
  struct Case {
    const char* title;
    std::vector<std::string> arguments;
    ProgramOutput output;
    std::string out;
    std::string calls;  // of the main thread
  } cases[] = {
      {"help --all | head -n 1",
       {"help", "--all"},
       ProgramOutput::kFirstLine,
       "Frontend for " + LibraryName() + "\n",
       ""},
      {"help --all to a full device", {"help", "--all"}, ProgramOutput::kFull, "", ""},
      {"help --all to a pipe without reader",
       {"help", "--all"},
       ProgramOutput::kReaderGone,
       "",
       ""},
      {"listing to closed output", {"show-local"}, ProgramOutput::kClosed, "", listing_calls},
      {"listing to a pipe without reader",
       {"show-local"},
       ProgramOutput::kReaderGone,
       "",
       listing_calls},
      {"action waiting for its answer, output closed",
       {"lock-device", "41-usb-7"},
       ProgramOutput::kClosed,
       "",
       lock_calls},
      {"action waiting for its answer, reader gone",
       {"lock-device", "41-usb-7"},
       ProgramOutput::kReaderGone,
       "",
       lock_calls},
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

// A parent may leave the pipe non-blocking: the program waits for its reader
// as on any pipe, and the whole output arrives.
TEST(BrokenOutput, NonBlockingPipeGetsEverything) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kNoNonBlockingHandles;
  ProgramResult whole = RunProgram({"help", "--all"});
  ProgramRun run;
  run.output = ProgramOutput::kLateReader;
  ProgramResult result = RunProgram({"help", "--all"}, run);
  EXPECT_GT(whole.out.size(), 4096u);
  EXPECT_EQ(whole.out, result.out);
  EXPECT_EQ("", result.err);
  EXPECT_EQ(0, result.exit_code);
  EXPECT_TRUE(result.output_non_blocking_after);
}

// Other outputs a parent may leave non-blocking: the whole output arrives
// where a reader takes it, and either way the parent finds its descriptor
// non-blocking still, as it left it.
TEST(BrokenOutput, NonBlockingOutputsOfEveryKind) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kNoNonBlockingHandles;
  const std::string help = RunProgram({"help", "--all"}).out;
  const std::string version = RunProgram({"version"}).out;
  struct Case {
    const char* title;
    ProgramOutput output;
    std::vector<std::string> arguments;
    std::string out;
    int exit_code;
  } cases[] = {
      {"terminal master", ProgramOutput::kTerminalMaster, {"help", "--all"}, help, 0},
      {"terminal master, one line", ProgramOutput::kTerminalMaster, {"version"}, version, 0},
      {"socket", ProgramOutput::kSocket, {"help", "--all"}, help, 0},
      {"pipe without reader", ProgramOutput::kReaderGone, {"help", "--all"}, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ProgramRun run;
    run.output = c.output;
    run.non_blocking_output = true;
    ProgramResult result = RunProgram(c.arguments, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(c.exit_code, result.exit_code);
    EXPECT_EQ("", result.err);
    EXPECT_TRUE(result.output_non_blocking_after);
  }
}

// Past a file size limit, as a shell sets it with its signal at its default
// action, a write fails like any other: standard output ends the run with
// exit code 1, and a save is refused (below).
TEST(BrokenOutput, FileSizeLimitFailsTheRun) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kNoResourceLimits;
  ProgramRun run;
  run.output = ProgramOutput::kFile;
  run.file_size_limit = 4096;
  ProgramResult result = RunProgram({"help", "--all"}, run);
  EXPECT_EQ(RunProgram({"help", "--all"}).out.substr(0, 4096), result.out);
  EXPECT_EQ(0, result.signal);
  EXPECT_EQ(1, result.exit_code);
  EXPECT_EQ("", result.err);
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
      {{"set-comp-name", "41", "caf\xC3\xA9"}, "Success\n", name_request + "\"caf\xC3\xA9\",-1]"},
      {{"set-comp-name", "41",
        "a\xFF"
        "b"},
       "Success\n",
       name_request + "\"a\xEF\xBF\xBD"
                      "b\",-1]"},
      {{"set-comp-name", "41", ""}, "Success\n", name_request + "\"\",-1]"},
      {{"whoami"}, "jos\xC3\xA9@example.org\n", "[\"WN_GetEmail\"]"},
      {{"version"}, "2.6 \xE2\x82\xAC \xF0\x9F\x98\x80\n", "[\"WN_GetLibVersion\"]"},
      // The JSON writer escapes what is not ASCII.
      {{"set-proxy-settings", "--auth", "--user=jos\xC3\xA9", "--passwd=\xFF"},
       "Success\n",
       R"(["WN_SetProxySettingsAsync","{\"proxy_auth\":{\"enabled\":true,)"
       R"(\"proxy_passwd\":\"\\ufffd\",\"proxy_user\":\"jos\\u00e9\"},)"
       R"(\"proxy_settings\":{\"enabled\":false,\"proxy_host\":\"\",\"proxy_port\":\"\",)"
       R"(\"proxy_type\":\"\"}}",-1])"},
      {{"get-proxy-settings"},
       "{\n   \"proxy_settings\" : {\n      \"proxy_host\" : \"h\\u00f6st\"\n   }\n}\n",
       "[\"WN_GetProxySettings\",-1]"},
  };
  StandInScenario scenario;
  scenario.LoggedIn();
  scenario.Answer("status", "{\"pipe\":\"connected\"}");
  scenario.Answer("email", ResultAndText(1, "jos\xC3\xA9@example.org"));
  scenario.Answer("version", ResultAndText(1, "2.6 \xE2\x82\xAC \xF0\x9F\x98\x80"));
  scenario.Answer("proxy",
                  ResultAndText(1, "{\"proxy_settings\":{\"proxy_host\":\"h\xC3\xB6st\"}}"));
  scenario.Request("WN_SetComputerNameAsync", AnsweredRequest(7));
  scenario.Request("WN_SetProxySettingsAsync", AnsweredRequest(7));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(scenario));
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(0, result.exit_code);
    std::string calls = result.MainThreadCalls();
    EXPECT_EQ(c.last_call + "\n", calls.substr(calls.rfind('\n', calls.size() - 2) + 1));
  }
}

// An argument beyond ASCII, and beyond any ANSI code page, reaches the
// library as its characters: the library logs it so and hands it back so in
// the listing, from the world it keeps.
TEST(TextBeyondAscii, AnArgumentComesBackFromTheLibraryUnchanged) {
  const std::string text =
      "\xC5\x81ukasz Caf\xC3\xA9 \xD0\x94\xD0\xB0\xD1\x88\xD0\xB0 \xE6\x97\xA5\xE6\x9C\xAC "
      "\xF0\x9F\x94\x8C";  // Łukasz Café Даша 日本 and a plug
  const struct {
    std::vector<std::string> arguments;
    std::string request;  // in the call log
    std::string line;     // of show-local
  } cases[] = {
      {{"set-device-description", "41-d2", text},
       "[\"WN_SetDeviceDescriptionAsync\",\"41\",\"usb-1-3\",\"" + text + "\",-1]",
       "41-d2\t\tUSB-PS/2 Optical Mouse {" + text + "}\n"},
      {{"set-comp-name", "41", text},
       "[\"WN_SetComputerNameAsync\",\"41\",\"" + text + "\",-1]",
       "41\tLocal computer: '" + text + "' (5 devices)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments[0]);
    TempDir dir;
    ProgramRun run;
    run.state_file = dir.File("state.json");
    ProgramResult set = RunProgram(c.arguments, run);
    EXPECT_EQ("Success\n", set.out);
    EXPECT_EQ(0, set.exit_code);
    EXPECT_NE(std::string::npos, set.CallLog().find(c.request + "\n")) << set.CallLog();
    ProgramResult shown = RunProgram({"show-local"}, run);
    EXPECT_NE(std::string::npos, shown.out.find(c.line)) << shown.out;
    EXPECT_EQ("", set.err + shown.err);
  }
}

// Control characters in the library's texts are shown as escapes, so that
// no text ends a line, forges one or sends the terminal a command; the rest
// of the text stays as it is.
TEST(TextWithControlCharacters, IsShownEscaped) {
  StandInScenario whoami;
  whoami.LoggedIn().Answer("email", ResultAndText(1, "me@x.org\nSuccess"));
  StandInScenario version;
  version.Answer("version", ResultAndText(1,
                                          "2.6\x1b]0;title\x07 \xC2\x9B"
                                          "1m caf\xC3\xA9\\n"));
  StandInScenario status;
  status.Answer("is_ok", 0);
  status.Answer("status", R"({"pipe":"up\r","server":"x\u001b[2J","usb_driver":"OK",)"
                          R"("serial_driver":"OK"})");
  StandInScenario parameters;
  parameters.Answer("default_params", ResultAndText(1, R"({"compress":"no\tne",)"
                                                       R"("reconnect":"\u0000\u007f\u0085"})"));
  StandInScenario local = OneDeviceScenario(
      R"({"name":"\u001b[8mPen","description":"a\nb","status":"shared","locked":false,)"
      R"("connect_info":{"id_connection":"c\u009b","id_comp_client":"4\r2","compress":"z\fx"},)"
      R"("invites":[{"id_invite":"i\u0007","email":"e@x.org\n","status":"new\u001b"}]})");
  local.ComputerInfo(
      "local", R"({"id_comp":"41","comp_name":"desk\u001b]0;t\u0007","devices":1,"local":true})");
  StandInScenario other;
  other.LoggedIn();
  other.ComputerList("other", 1, "[\"7\\u001b8\"]");
  other.ComputerInfo(
      "7\x1b"
      "8",
      R"({"comp_name":"n","email":"boss@example.com> 'fake'\n78\t)"
      R"(Computer of <x","devices":1})");
  other.DeviceList(
      "7\x1b"
      "8",
      1, "[\"ser-1\"]");
  other.DeviceInfo(
      "7\x1b"
      "8",
      "ser-1", R"({"name":"Serial","invites":[{"id_invite":"v\n1","status":"x\u0085"}]})");
  StandInScenario remote;
  remote.LoggedIn().ComputerList("remote", 1, "[\"55\\n\"]");
  struct Case {
    StandInScenario scenario;
    std::vector<std::string> arguments;
    int exit_code;
    std::string out;
  } cases[] = {
      {whoami, {"whoami"}, 0, "me@x.org\\nSuccess\n"},
      {version, {"version"}, 0, "2.6\\x1b]0;title\\x07 \\u009b1m caf\xC3\xA9\\n\n"},
      {status,
       {"status"},
       0,
       "Unknown pipe to service status: up\\r\n"
       "Unknown status of central server: x\\x1b[2J\n"},
      {parameters,
       {"default-connect-parameters"},
       0,
       "compression: no\\tne\nauto reconnect: \\x00\\x7f\\u0085\n"},
      {local,
       {"show-local"},
       0,
       "41\tLocal computer: 'desk\\x1b]0;t\\x07' (1 devices)\n"
       "\tDevices:\n"
       "41-ec\t\t\\x1b[8mPen {a\\nb} - connected to computer 4\\r2\n"
       "\t\tInvites: \n\t\t\tID:i\\x07 to <e@x.org\\n> (new\\x1b)\n"},
      {local,
       {"show-local", "--verbose", "--no-invites"},
       0,
       "41\tLocal computer: 'desk\\x1b]0;t\\x07' (1 devices)\n"
       "\tDevices:\n"
       "41-ec\t\t\\x1b[8mPen\n"
       "\t\tDescription: a\\nb\n"
       "\t\tReal device id: usb-7\n"
       "\t\tConnected to computer 4\\r2 (direct connection; compression=z\\x0cx; "
       "connection id=c\\u009b)\n"},
      {other,
       {"show-invite"},
       0,
       "7\\x1b8\tComputer of <boss@example.com> 'fake'\\n78\\tComputer of <x> 'n' "
       "(1 invites)\n"
       "\tDevices:\n"
       "7\\x1b8-a2\t\tSerial (invite ID:v\\n1 - x\\u0085)\n\n"},
      {remote, {"show-remote"}, 1, "ERROR: can't get info about remote computer 55\\n\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    ProgramResult result = RunProgram(c.arguments, ScenarioRun(c.scenario));
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(c.exit_code, result.exit_code);
    EXPECT_EQ("", result.err);
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
      {"[{\"usb_driver\":\"OK\",\"serial_driver\":\"OK\"}]",
       {"connect-device", "41-usb-7"},
       1,
       "ERROR: command finished with error: no_driver\n"
       "Local computer does not have virtual USB/COM drivers installed.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    StandInScenario scenario = OneDeviceScenario("{\"status\":\"online\"}");
    // The connection's gate is let through; everything after asks the status.
    scenario.Answer("is_ok", 0);
    if (c.arguments[0] == "connect-device") {
      Json::Value is_ok(Json::arrayValue);
      is_ok.append(1);
      is_ok.append(0);
      scenario.Answer("is_ok", is_ok);
    }
    scenario.Answer("status", c.status);
    scenario.Request("WN_ConnectDeviceAsync", AnsweredRequest(7, "no_driver"));
    ProgramRun run = ScenarioRun(scenario);
    run.input = "secret\n";
    ProgramResult result = RunProgram(c.arguments, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(c.exit_code, result.exit_code);
    EXPECT_EQ("", result.err);
  }
}

// A state file the library cannot read, or a change it cannot save: the
// program says which of its calls failed, the library's one line on
// standard error passes through, and the world on disk stays as it was.
// What the library refuses, and why, its own tests tell.
TEST(StateFileThatCannotServe, RefusesWithOneLineAndKeepsTheWorld) {
  TempDir dir;
  const std::string saved = dir.File("saved.json");
  const std::string folder = dir.File("folder");
  ProgramRun saving;
  saving.state_file = saved;
  ASSERT_EQ("Success\n", RunProgram({"lock-device", "41-usb-1-3"}, saving).out);
  ASSERT_EQ(0, mkdir(folder.c_str(), 0700));

  const std::string kNoStatus = "ERROR: internal error: can't get status from library\n";
  const std::string kNotSaved = "ERROR: command finished with error: state_not_saved\n";
  const std::string kNoRegularFile = "wirenest stand-in: " + folder + ": is not a regular file\n";
  const std::vector<std::string> unlock = {"unlock-device", "41-usb-1-3"};
  struct Case {
    const char* title;
    std::string state_file;
    std::vector<std::string> arguments;
    std::string out;
    std::string err;
    long file_size_limit;
  } cases[] = {
      {"unreadable, version",
       folder,
       {"version"},
       "ERROR: Unable to get version from library\n",
       kNoRegularFile,
       0},
      {"unreadable, report", folder, {"show-local"}, kNoStatus, kNoRegularFile, 0},
      {"unreadable, change", folder, unlock, kNoStatus, kNoRegularFile, 0},
      {"unsaved change", saved, unlock, kNotSaved,
       "wirenest stand-in: " + saved +
           ": cannot be written: File too large; the change is refused\n",
       4096},
  };
  const std::string world = ReadFile(saved);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    if (ProgramIsForWindows() && c.file_size_limit) {
      std::cout << "skipped on Windows: " << c.title << ": " << kNoResourceLimits << "\n";
      continue;
    }
    ProgramRun run;
    run.state_file = c.state_file;
    run.file_size_limit = c.file_size_limit;
    ProgramResult result = RunProgram(c.arguments, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(1, result.exit_code);
    EXPECT_EQ(c.err, result.err);
    EXPECT_EQ(world, ReadFile(saved));
  }
}

// A lock of this process's own on a whole file, as fcntl gives it: the lock
// Wine's LockFileEx takes conflicts with it.
class RecordLock {
 public:
  explicit RecordLock(const std::string& path)
      : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    struct flock whole = {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    held_ = fd_ >= 0 && fcntl(fd_, F_SETLK, &whole) == 0;
  }
  ~RecordLock() {
    if (fd_ >= 0)
      close(fd_);
  }
  RecordLock(const RecordLock&) = delete;
  RecordLock& operator=(const RecordLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_;
  bool held_ = false;
};

// Another run keeps the state file locked, stopped in its terminal: once the
// library gives up, the program says which call failed, a request or a call
// answered at once, and the world on disk stays as it was.
TEST(StateLockedElsewhere, AChangeGivesUpAndKeepsTheWorld) {
  TempDir dir;
  ProgramRun run;
  run.state_file = dir.File("state.json");
  ASSERT_EQ("Success\n", RunProgram({"unlock-device", "41-usb-1-4"}, run).out);
  const std::string world = ReadFile(run.state_file);
  const std::string lock_file = run.state_file + ".lock";
  std::optional<LockHolder> holder;
  std::optional<RecordLock> windows_lock;
  if (ProgramIsForWindows()) {
    windows_lock.emplace(lock_file);
    ASSERT_TRUE(windows_lock->held());
  } else {
    holder.emplace(lock_file);
    ASSERT_TRUE(holder->held());
    ASSERT_TRUE(holder->Stop());
  }
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
  } cases[] = {
      {{"lock-device", "41-usb-1-3"}, "ERROR: command finished with error: state_not_saved\n"},
      {{"default-connect-parameters", "--compression=no"},
       "ERROR: can't set default connect parameters.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    ProgramResult result = RunProgram(c.arguments, run);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ(1, result.exit_code);
    EXPECT_EQ("wirenest stand-in: " + run.state_file +
                  ": stayed locked by another process; the change is refused\n",
              result.err);
    EXPECT_EQ(world, ReadFile(run.state_file));
  }
}

// The least address space, in steps of kStep, in which the program starts
// and shows its version.
const long kStep = 256 << 10;

long LeastAddressSpaceToStart() {
  long too_little = 0, enough = 1024 * kStep;
  while (enough - too_little > kStep) {
    ProgramRun run;
    run.address_space_limit = (too_little + enough) / 2 / kStep * kStep;
    (RunProgram({"version"}, run).exit_code == 0 ? enough : too_little) = run.address_space_limit;
  }
  return enough;
}

// However little address space a run has, a change ends at once: done,
// kept and reported so, or refused with the world on disk as it was, and
// the library's error says that memory ran out. Where that happens differs
// by machine and build: the limit rises in steps from the least the program
// starts with until the change succeeds.
TEST(AddressSpaceLimit, AChangeEndsAtOnceKeptOrRefusedWhole) {
  if (ProgramIsForWindows())
    GTEST_SKIP() << kNoResourceLimits;
  if (ProgramIsWrapped() || ProgramIsSanitized())
    GTEST_SKIP() << "a checker, an emulator or a sanitizer needs address space of its own";
  struct Case {
    const char* title;
    std::vector<std::string> before;  // without a limit, on the demo world; none: no state file
    std::vector<std::string> arguments;
    std::string success;
  } cases[] = {
      {"lock", {"unlock-device", "41-usb-1-3"}, {"lock-device", "41-usb-1-3"}, "Success\n"},
      {"login",
       {"logout", "local"},
       {"login", "user@example.com"},
       "Password: \nSuccessfully logged in.\n"},
      {"first save, with the password hashed", {}, {"logout", "local"}, "Success\n"},
  };
  const long least = LeastAddressSpaceToStart();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TempDir dir;
    ProgramRun run;
    run.state_file = dir.File("state.json");
    run.input = "secret\n";
    // A hang would wait for the answer for minutes.
    run.timeout_ms = 10000;
    // The log's writes would take memory that a user's run does not.
    run.unset_environment = {"WIRENEST_CALL_LOG"};
    if (!c.before.empty()) {
      ASSERT_EQ(0, RunProgram(c.before, run).exit_code);
    }
    const std::string world = ReadFile(run.state_file);
    // The library's own answer, not only a thread it could not start.
    bool answered_with_error = false;
    int successes = 0;
    for (long limit = least; successes < 3 && limit < least + 1024 * kStep; limit += kStep) {
      SCOPED_TRACE(limit);
      run.address_space_limit = limit;
      ProgramResult result = RunProgram(c.arguments, run);
      ASSERT_EQ(0, result.signal) << result.out;
      EXPECT_EQ(std::string::npos, result.err.find("bad_alloc")) << result.err;
      EXPECT_EQ(std::string::npos, result.err.find("invalid JSON")) << result.err;
      const std::string now = ReadFile(run.state_file);
      if (result.exit_code == 0) {
        EXPECT_EQ(c.success, result.out);
        EXPECT_NE(world, now);
        ++successes;
      } else {
        EXPECT_EQ(1, result.exit_code) << result.out;
        EXPECT_EQ(world, now) << result.out;
        answered_with_error =
            answered_with_error || result.out.find("finished with error: ") != std::string::npos;
      }
      if (now != world) {
        if (world.empty())
          unlink(run.state_file.c_str());
        else
          WriteFile(run.state_file, world);
      }
    }
    EXPECT_EQ(3, successes);
    EXPECT_TRUE(answered_with_error);
  }
}

}  // namespace
