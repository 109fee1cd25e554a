// The library as the front end sees it: its exported functions, driven
// through the environment, the scenario file and the call log.
#include "wirenestdk.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#endif
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <new>
#include <thread>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"
#include "tests/support/lock_holder.h"
#include "tests/support/test_files.h"
#include "wirenest/standin/call_log.h"
#include "wirenest/standin/library.h"
#include "wirenest/standin/password_hash.h"
#include "wirenest/standin/variant_text.h"

namespace standin {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Long enough for any answer, a busy machine's save to disk included, but
// one that never comes; shorter than the front end waits for one.
const milliseconds kAnswerPatience(30000);

// The variables that place the state when WIRENEST_STATE does not: its
// folder goes into the first one's.
#ifdef _WIN32
const char* const kStatePlaceVariables[] = {"LOCALAPPDATA"};
const char kNoStatePlaceLine[] =
    "wirenest stand-in: no state file: neither WIRENEST_STATE nor LOCALAPPDATA is set; changes "
    "are refused\n";
#else
const char* const kStatePlaceVariables[] = {"XDG_STATE_HOME", "HOME"};
const char kNoStatePlaceLine[] =
    "wirenest stand-in: no state file: neither WIRENEST_STATE, XDG_STATE_HOME nor HOME is set; "
    "changes are refused\n";
#endif

// An input value holding a text.
class Text {
 public:
  explicit Text(const std::string& text) {
    VariantInit(&value_);
    value_.vt = VT_BSTR;
    value_.bstrVal = NarrowToBstr(text);
  }
  ~Text() { VariantClear(&value_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator VARIANT() const { return value_; }

 private:
  VARIANT value_;
};

std::string TextOf(ScopedVariant& out) { return VariantText(*out.get()); }

// The drains the callback took, as the front end takes them.
struct Drains {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Drain> taken;
  std::vector<Clock::time_point> times;
} g_drains;

void WN_CALL TakeEvents() {
  Drain drain;
  for (;;) {
    ScopedVariant batch;
    if (!WN_GetEvents(-1, batch.get()))
      break;
    drain.push_back(TextOf(batch));
  }
  std::lock_guard<std::mutex> lock(g_drains.mutex);
  g_drains.taken.push_back(drain);
  g_drains.times.push_back(Clock::now());
  g_drains.changed.notify_all();
}

// Outlives the library's thread only if exit stops that thread first.
std::string g_last_batch = "a text too long to be kept inside the string itself";

void WN_CALL TakeEventsSlowly() {
  std::this_thread::sleep_for(milliseconds(100));
  for (;;) {
    ScopedVariant batch;
    if (!WN_GetEvents(-1, batch.get()))
      break;
    g_last_batch = TextOf(batch);
  }
}

class ExportsTest : public ::testing::Test {
 protected:
  ExportsTest() {
    ResetForTesting();
    environment_.Set("WIRENEST_CALL_LOG", CallLog());
    environment_.Set("WIRENEST_STATE", StateFile());
    environment_.Set(kStatePlaceVariables[0], dir_.File("xdg"));
    environment_.Unset("WIRENEST_SCENARIO");
    std::lock_guard<std::mutex> lock(g_drains.mutex);
    g_drains.taken.clear();
    g_drains.times.clear();
  }
  ~ExportsTest() override { ResetForTesting(); }

  void UseScenario(const std::string& scenario) {
    WriteFile(dir_.File("scenario.json"), scenario);
    environment_.Set("WIRENEST_SCENARIO", dir_.File("scenario.json"));
  }
  std::string CallLog() const { return dir_.File("calls.log"); }
  std::string StateFile() const { return dir_.File("state.json"); }

  void ListenForEvents() {
    ASSERT_EQ(1, WN_SetEventCallback(TakeEvents));
    ASSERT_EQ(1, WN_EnableEventsQueue(1));
  }
  std::vector<Drain> WaitForDrains(size_t count) {
    std::unique_lock<std::mutex> lock(g_drains.mutex);
    g_drains.changed.wait_for(lock, kAnswerPatience,
                              [&] { return g_drains.taken.size() >= count; });
    return g_drains.taken;
  }
  size_t DrainCount() {
    std::lock_guard<std::mutex> lock(g_drains.mutex);
    return g_drains.taken.size();
  }
  std::string DeviceInfo(const std::string& id_comp, const std::string& id_device) {
    ScopedVariant info;
    WN_GetDeviceInfo(Text(id_comp), Text(id_device), info.get());
    return TextOf(info);
  }

  TempDir dir_;
  ScopedEnvironment environment_;
};

TEST_F(ExportsTest, TheCallLogWritesEachCallAsTheContractShows) {
  UseScenario(R"({"world": {"account": {"logged_in": true},
                            "local": {"id_comp": "41", "devices": [{"id": "usb-7"}]}}})");
  ScopedVariant status, list;
  WN_IsOK();
  WN_GetStatus(status.get());
  WN_GetDevicesList(Text("41"), list.get());
  ListenForEvents();
  uint32_t id = WN_LockDeviceAsync(Text("41"), Text("usb-7"), 1, static_cast<int32_t>(0xFFFFFFFF));
  ASSERT_EQ((std::vector<Drain>{{CommandResultBatch(id, "OK")}}), WaitForDrains(1));
  EXPECT_EQ((std::vector<std::string>{
                R"(["WN_IsOK"])",
                R"(["WN_GetStatus"])",
                R"(["WN_GetDevicesList","41"])",
                R"(["WN_SetEventCallback"])",
                R"(["WN_EnableEventsQueue",1])",
                R"(["WN_LockDeviceAsync","41","usb-7",1,-1])",
                R"(["WN_GetEvents",-1])",
                R"(["WN_GetEvents",-1])",
            }),
            ReadLines(CallLog()));
}

TEST_F(ExportsTest, TheCallLogShowsOnlyThePasswordsLength) {
  WN_LoginComputerAsync(Text("user@example.com"), Text("pässwörd"), -1);
  WN_GetProxySettings(nullptr, -1);
  EXPECT_EQ((std::vector<std::string>{
                R"(["WN_LoginComputerAsync","user@example.com","<password: 8 characters>",-1])",
                R"(["WN_GetProxySettings",-1])"}),
            ReadLines(CallLog()));
}

// A call log that is a symbolic link, planted for another user's run, is
// not followed, nor is one written that is not a regular file (a FIFO would
// hold every call until a reader came): one line says so, once, and the
// calls go on.
TEST_F(ExportsTest, TheCallLogIsOnlyARegularFile) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine shows a symbolic link as the file it names, and Windows has no FIFOs";
#else
  WriteFile(dir_.File("victim"), "untouched\n");
  ASSERT_EQ(0, symlink(dir_.File("victim").c_str(), dir_.File("link.log").c_str()));
  ASSERT_EQ(0, mkfifo(dir_.File("fifo.log").c_str(), 0600));
  const struct {
    const char* log;
    const char* problem;
  } cases[] = {
      {"link.log", "is a symbolic link"},
      {"fifo.log", "is not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    ResetForTesting();
    environment_.Set("WIRENEST_CALL_LOG", dir_.File(c.log));
    testing::internal::CaptureStderr();
    ScopedVariant email;
    EXPECT_EQ(1, WN_IsOK());
    EXPECT_EQ(1, WN_GetEmail(email.get()));
    EXPECT_EQ(
        "wirenest stand-in: " + dir_.File(c.log) + ": " + c.problem + "; calls are not logged\n",
        testing::internal::GetCapturedStderr());
  }
  EXPECT_EQ("untouched\n", ReadFile(dir_.File("victim")));
#endif
}

TEST_F(ExportsTest, CallsFromTwoThreadsKeepTheirLinesWhole) {
  auto calls = [] {
    for (int i = 0; i < 200; ++i) {
      ScopedVariant info;
      WN_GetComputerInfo(Text("a computer with a rather long name, to make the line long"),
                         info.get());
    }
  };
  std::thread first(calls), second(calls);
  first.join();
  second.join();
  std::vector<std::string> lines = ReadLines(CallLog());
  ASSERT_EQ(400u, lines.size());
  for (const std::string& line : lines)
    ASSERT_EQ(
        R"(["WN_GetComputerInfo","a computer with a rather long name, to make the line long"])",
        line);
}

TEST_F(ExportsTest, ABadScenarioFailsEveryCallAfterOneMessage) {
  const struct {
    const char* scenario;  // null: no file
    const char* problem;
  } cases[] = {
      {nullptr, "cannot be read"},
      {"{\"answers\": ", "invalid JSON"},
      {R"({"answers": {"is_ok": "yes"}})", "answers.is_ok must be"},
      {R"({"world": {"local": {"id_comp": "41", "devices": [{"id": "d", "locked": "no"}]}}})",
       "world.local.devices[0].locked must be a boolean"},
  };
  for (const auto& c : cases) {
    ResetForTesting();
    remove(CallLog().c_str());
    UseScenario(c.scenario ? c.scenario : "");
    if (!c.scenario)
      environment_.Set("WIRENEST_SCENARIO", dir_.File("missing.json"));
    ScopedVariant out;
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, WN_IsOK());
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(0, WN_GetStatus(out.get()));
    EXPECT_EQ(0, WN_GetEmail(out.get()));
    EXPECT_EQ(0, WN_GetComputerInfo(Text("local"), out.get()));
    EXPECT_EQ(-1, WN_GetComputersList(Text("remote"), out.get()));
    EXPECT_EQ(-1, WN_GetDevicesList(Text("local"), out.get()));
    EXPECT_EQ(0, WN_SetDefaultConnectParameters(Text("{}")));
    EXPECT_EQ(0, WN_SetEventCallback(TakeEvents));
    EXPECT_EQ(0, WN_EnableEventsQueue(1));
    EXPECT_EQ(0, WN_GetEvents(-1, out.get()));
    EXPECT_EQ(0u, WN_LoginComputerAsync(Text("user@example.com"), Text("secret"), -1));
    EXPECT_EQ(0u, WN_DeleteInviteAsync(Text("inv-1"), -1));

    const std::string file = c.scenario ? dir_.File("scenario.json") : dir_.File("missing.json");
    EXPECT_EQ("wirenest stand-in: " + file + ": ", message.substr(0, file.size() + 21));
    EXPECT_NE(std::string::npos, message.find(c.problem)) << message;
    EXPECT_EQ(message.size() - 1, message.find('\n')) << message;
    EXPECT_EQ(12u, ReadLines(CallLog()).size());
  }
}

TEST_F(ExportsTest, ABadStateFileFailsEveryCallAfterOneMessage) {
  WriteFile(StateFile(), R"({"local": {"id_comp": 41}})");
  testing::internal::CaptureStderr();
  ScopedVariant out;
  EXPECT_EQ(0, WN_GetLibVersion(out.get()));
  EXPECT_EQ("wirenest stand-in: " + StateFile() + ": world.local.id_comp must be a string\n",
            testing::internal::GetCapturedStderr());
  EXPECT_EQ(0u, WN_LockDeviceAsync(Text("41"), Text("usb-1-3"), 1, -1));
}

TEST_F(ExportsTest, ScriptedAnswersWinOverTheWorld) {
  UseScenario(R"({"answers": {"version": [0, "9.9"], "device_lists": {"41": [3, "odd"]},
                              "set_event_callback": 5, "enable_events_queue": 6,
                              "set_default_params": 7}})");
  ScopedVariant version, list, other, info;
  EXPECT_EQ(0, WN_GetLibVersion(version.get()));
  EXPECT_EQ("9.9", TextOf(version));
  EXPECT_EQ(3, WN_GetDevicesList(Text("41"), list.get()));
  EXPECT_EQ("odd", TextOf(list));
  EXPECT_EQ(-1, WN_GetDevicesList(Text("local"), other.get()));
  EXPECT_EQ("", TextOf(other));
  EXPECT_EQ(0, WN_GetComputerInfo(Text("local"), info.get()));
  EXPECT_EQ(5, WN_SetEventCallback(TakeEvents));
  EXPECT_EQ(6, WN_EnableEventsQueue(1));
  EXPECT_EQ(7, WN_SetDefaultConnectParameters(Text("not json")));
}

TEST_F(ExportsTest, TheDefaultAnswerCarriesTheEffectIntoTheStateFile) {
  ListenForEvents();
  uint32_t id = WN_LockDeviceAsync(Text("local"), Text("usb-1-3"), 1, -1);
  EXPECT_NE(0u, id);
  ASSERT_EQ((std::vector<Drain>{{CommandResultBatch(id, "OK")}}), WaitForDrains(1));
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-1-3").find("\"locked\":true"));
#ifndef _WIN32
  EXPECT_EQ(0600u, FileMode(StateFile()));
#endif

  ResetForTesting();
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-1-3").find("\"locked\":true"));
  ListenForEvents();
  uint32_t next = WN_LockDeviceAsync(Text("41"), Text("no-such-device"), 1, -1);
  ASSERT_EQ(2u, WaitForDrains(2).size());
  EXPECT_EQ((Drain{CommandResultBatch(next, "device_not_found")}), WaitForDrains(2)[1]);
}

// While another process holds the state, the request returns its id and
// queries answer; the change and its answer wait for the lock.
TEST_F(ExportsTest, ARequestReturnsBeforeTheStateIsFree) {
  ListenForEvents();
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-1-3").find("\"locked\":false"));
  LockHolder holder(StateFile() + ".lock");
  ASSERT_TRUE(holder.held());
  uint32_t id = WN_LockDeviceAsync(Text("41"), Text("usb-1-3"), 1, -1);
  EXPECT_NE(0u, id);
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-1-3").find("\"locked\":false"));
  EXPECT_EQ(0u, DrainCount());
  holder.Release();
  EXPECT_EQ((std::vector<Drain>{{CommandResultBatch(id, "OK")}}), WaitForDrains(1));
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-1-3").find("\"locked\":true"));
}

// A state file of an older version keeps the password's digest in the
// self-made form: the password still logs in, and the file then keeps the
// current form.
TEST_F(ExportsTest, AnOldPasswordDigestLogsInAndIsReplaced) {
  WriteFile(StateFile(), R"({"account": {"email": "user@example.com", "logged_in": false,
                                         "password_salt": "5eed0ff1ce5eed01",
                                         "password_hash": "1c01649123e8a7c8c158aad41b598c3a"},
                             "local": {"id_comp": "41"}})");
  ListenForEvents();
  uint32_t wrong = WN_LoginComputerAsync(Text("user@example.com"), Text("Secret"), -1);
  ASSERT_EQ((std::vector<Drain>{{CommandResultBatch(wrong, "wrong_credentials")}}),
            WaitForDrains(1));
  EXPECT_EQ("1c01649123e8a7c8c158aad41b598c3a",
            ParseJson(ReadFile(StateFile()))["account"]["password_hash"].asString());
  uint32_t right = WN_LoginComputerAsync(Text("user@example.com"), Text("secret"), -1);
  ASSERT_EQ((Drain{CommandResultBatch(right, "OK")}), WaitForDrains(2).at(1));
  Json::Value account = ParseJson(ReadFile(StateFile()))["account"];
  EXPECT_TRUE(account["logged_in"].asBool());
  EXPECT_EQ("pbkdf2-hmac-sha256", account["password_kdf"].asString());
  EXPECT_NE("1c01649123e8a7c8c158aad41b598c3a", account["password_hash"].asString());

  ResetForTesting();
  ListenForEvents();
  uint32_t logout = WN_LogoutComputerAsync(Text("local"), -1);
  uint32_t again = WN_LoginComputerAsync(Text("user@example.com"), Text("secret"), -1);
  std::vector<Drain> drains = WaitForDrains(4);
  ASSERT_EQ(4u, drains.size());
  EXPECT_EQ((Drain{CommandResultBatch(logout, "OK")}), drains[2]);
  EXPECT_EQ((Drain{CommandResultBatch(again, "OK")}), drains[3]);
}

// Work that runs out of memory is answered at once, after the scripted
// batches, with "out_of_memory", and changes nothing.
TEST_F(ExportsTest, WorkThatRunsOutOfMemoryIsAnsweredAtOnceAndChangesNothing) {
  UseScenario(R"({"world": {"account": {"logged_in": true},
                            "local": {"id_comp": "41", "devices": [{"id": "usb-7"}]}},
                  "answers": {"requests": {"WN_LockDeviceAsync":
                                              {"batches": ["[{\"event\":\"note\"}]"]}}}})");
  ListenForEvents();
  uint32_t id = StartRequest(Call("WN_LockDeviceAsync"), [](World* world) -> std::string {
    world->local->devices[0].locked = true;
    throw std::bad_alloc();
  });
  ASSERT_NE(0u, id);
  EXPECT_EQ(
      (std::vector<Drain>{{"[{\"event\":\"note\"}]", CommandResultBatch(id, "out_of_memory")}}),
      WaitForDrains(1));
  EXPECT_FALSE(FileExists(StateFile()));
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-7").find("\"locked\":false"));
}

// Without key derivations the demo world's first save, which would hash its
// password, is refused after one line and writes nothing; a login is
// refused as unchecked and changes nothing.
TEST_F(ExportsTest, WithoutKeyDerivationsThePasswordIsNeitherLostNorJudged) {
  ListenForEvents();
  testing::internal::CaptureStderr();
  {
    FailingKeyDerivationsForTesting failing;
    uint32_t lock = WN_LockDeviceAsync(Text("41"), Text("usb-1-3"), 1, -1);
    EXPECT_EQ((std::vector<Drain>{{CommandResultBatch(lock, "state_not_saved")}}),
              WaitForDrains(1));
  }
  EXPECT_EQ("wirenest stand-in: " + StateFile() +
                ": the account's password cannot be hashed; the change is refused\n",
            testing::internal::GetCapturedStderr());
  EXPECT_FALSE(FileExists(StateFile()));

  ResetForTesting();
  ListenForEvents();
  uint32_t logout = WN_LogoutComputerAsync(Text("local"), -1);
  ASSERT_EQ((Drain{CommandResultBatch(logout, "OK")}), WaitForDrains(2).at(1));
  const std::string world = ReadFile(StateFile());
  FailingKeyDerivationsForTesting failing;
  uint32_t login = WN_LoginComputerAsync(Text("user@example.com"), Text("secret"), -1);
  EXPECT_EQ((Drain{CommandResultBatch(login, "password_not_checked")}), WaitForDrains(3).at(2));
  EXPECT_EQ(world, ReadFile(StateFile()));
}

TEST_F(ExportsTest, TheDemoWorldLivesInTheDefaultStateFile) {
  environment_.Unset("WIRENEST_STATE");
  EXPECT_EQ(1, WN_SetDefaultConnectParameters(Text(R"({"compress":"no"})")));
  const std::string path = dir_.File("xdg/wirenest/standin-world.json");
#ifdef _WIN32
  EXPECT_TRUE(FileExists(path));
#else
  EXPECT_EQ(0600u, FileMode(path));
  EXPECT_EQ(0700u, FileMode(dir_.File("xdg/wirenest")));
#endif
  EXPECT_EQ(std::string::npos, ReadFile(path).find("secret"));
}

// No folder for the state, or a relative one, which would put it wherever
// the program happens to run: changes are refused, after one message.
TEST_F(ExportsTest, WithNoPlaceForTheStateChangesAreRefusedAfterOneMessage) {
  environment_.Unset("WIRENEST_STATE");
  const char* const kLastPlace = kStatePlaceVariables[std::size(kStatePlaceVariables) - 1];
  for (const char* relative : {static_cast<const char*>(nullptr), "relhome"}) {
    SCOPED_TRACE(relative ? relative : "unset");
    ResetForTesting();
    {
      std::lock_guard<std::mutex> lock(g_drains.mutex);
      g_drains.taken.clear();
    }
    for (const char* variable : kStatePlaceVariables)
      environment_.Unset(variable);
    if (relative)
      environment_.Set(kLastPlace, relative);
    ListenForEvents();
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, WN_SetDefaultConnectParameters(Text(R"({"compress":"no"})")));
    uint32_t lock = WN_LockDeviceAsync(Text("41"), Text("usb-1-3"), 1, -1);
    uint32_t missing = WN_LockDeviceAsync(Text("41"), Text("no-such-device"), 1, -1);
    EXPECT_EQ((std::vector<Drain>{{CommandResultBatch(lock, "state_not_saved")},
                                  {CommandResultBatch(missing, "device_not_found")}}),
              WaitForDrains(2));
    EXPECT_EQ(kNoStatePlaceLine, testing::internal::GetCapturedStderr());
    EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-1-3").find("\"locked\":false"));
  }
  EXPECT_FALSE(FileExists("relhome"));
}

TEST_F(ExportsTest, AScenarioWorldLivesForOneRunWithoutAStateFile) {
  environment_.Unset("WIRENEST_STATE");
  UseScenario(R"({"world": {"account": {"logged_in": true},
                            "local": {"id_comp": "41", "devices": [{"id": "usb-7"}]}}})");
  ListenForEvents();
  WN_LockDeviceAsync(Text("41"), Text("usb-7"), 1, -1);
  WaitForDrains(1);
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-7").find("\"locked\":true"));
  ResetForTesting();
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-7").find("\"locked\":false"));
  EXPECT_FALSE(FileExists(dir_.File("xdg/wirenest/standin-world.json")));
}

TEST_F(ExportsTest, ScriptedRequestsAreDeliveredAsWrittenAndInOrder) {
  UseScenario(R"({"answers": {"requests": {
      "WN_LockDeviceAsync": {"id": 5, "batches": ["[{\"event\":\"note\"}]"], "delay_ms": 40},
      "WN_AcceptInviteAsync": {"drains": [["x"], ["y", "z"]]},
      "WN_DeleteInviteAsync": {"answer": {"event": "command_result", "id_cmd": 77}},
      "WN_MakeInviteAsync": {"answer": null},
      "WN_LogoutComputerAsync": {"id": 0}}}})");
  ListenForEvents();
  Clock::time_point start = Clock::now();
  EXPECT_EQ(5u, WN_LockDeviceAsync(Text("41"), Text("usb-7"), 1, -1));
  uint32_t accept = WN_AcceptInviteAsync(Text("inv-1"), -1);
  uint32_t deleted = WN_DeleteInviteAsync(Text("inv-1"), -1);
  uint32_t make = WN_MakeInviteAsync(Text("41"), Text("usb-7"), Text("a@b.c"), -1);
  EXPECT_EQ(0u, WN_LogoutComputerAsync(Text("local"), -1));
  EXPECT_EQ(1u, accept);
  EXPECT_EQ(2u, deleted);
  EXPECT_EQ(3u, make);
  std::vector<Drain> drains = WaitForDrains(4);
  EXPECT_EQ((std::vector<Drain>{{"[{\"event\":\"note\"}]", CommandResultBatch(5, "not_logged_in")},
                                {"x"},
                                {"y", "z"},
                                {"[{\"event\":\"command_result\",\"id_cmd\":77}]"}}),
            drains);
  EXPECT_GE(g_drains.times.at(0) - start, milliseconds(40));
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(4u, DrainCount());
}

TEST_F(ExportsTest, AScriptedAnswerReplacesTheEffect) {
  UseScenario(R"({"world": {"account": {"logged_in": true},
                            "local": {"id_comp": "41", "devices": [{"id": "usb-7"}]}},
                  "answers": {"requests": {"WN_LockDeviceAsync": {"answer": {"event": "x"}}}}})");
  ListenForEvents();
  WN_LockDeviceAsync(Text("41"), Text("usb-7"), 1, -1);
  WaitForDrains(1);
  EXPECT_NE(std::string::npos, DeviceInfo("41", "usb-7").find("\"locked\":false"));
}

TEST_F(ExportsTest, AnswersWaitForTheCallbackAndTheQueue) {
  UseScenario(R"({"answers": {"early_drains": [["e1"], ["e2", "e3"]],
                              "requests": {"WN_LockDeviceAsync": {"answer": {"n": 1}}}}})");
  WN_LockDeviceAsync(Text("41"), Text("usb-7"), 1, -1);
  EXPECT_EQ(1, WN_SetEventCallback(TakeEvents));
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(0u, DrainCount());
  EXPECT_EQ(1, WN_EnableEventsQueue(1));
  EXPECT_EQ((std::vector<Drain>{{"[{\"n\":1}]"}, {"e1"}, {"e2", "e3"}}), WaitForDrains(3));
}

// Each child forks without exec (a program under a user-mode emulator cannot
// start itself again) and makes the library, and its threads, afresh: the
// fixture left none behind.
TEST_F(ExportsTest, TheProcessExitsWhileACallbackRunsOrAnAnswerWaits) {
  GTEST_FLAG_SET(death_test_style, "fast");
  UseScenario(R"({"answers": {"requests": {"WN_AcceptInviteAsync": {"delay_ms": 60000}}}})");
  EXPECT_EXIT(
      {
        WN_SetEventCallback(TakeEventsSlowly);
        WN_EnableEventsQueue(1);
        WN_DeleteInviteAsync(Text("inv-1"), -1);
        std::this_thread::sleep_for(milliseconds(20));
        exit(3);
      },
      testing::ExitedWithCode(3), "");
  EXPECT_EXIT(
      {
        ListenForEvents();
        WN_AcceptInviteAsync(Text("inv-1"), -1);
        exit(4);
      },
      testing::ExitedWithCode(4), "");
  // A second open of the lock file is another holder, even in this process.
  EXPECT_EXIT(
      {
#ifdef _WIN32
        LockHolder holder(StateFile() + ".lock");
        if (!holder.held())
          exit(1);
#else
        int lock = open((StateFile() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0 || flock(lock, LOCK_EX) != 0)
          exit(1);
#endif
        ListenForEvents();
        WN_LockDeviceAsync(Text("41"), Text("usb-1-3"), 1, -1);
        std::this_thread::sleep_for(milliseconds(20));
        exit(5);
      },
      testing::ExitedWithCode(5), "");
}

TEST_F(ExportsTest, OddInputsAndOutValuesAreSurvived) {
  VARIANT empty, number;
  VariantInit(&empty);
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 41;
  ScopedVariant list, none;
  EXPECT_EQ(-1, WN_GetDevicesList(empty, none.get()));
  EXPECT_EQ(5, WN_GetDevicesList(number, list.get()));
  EXPECT_EQ(0, WN_GetStatus(nullptr));
  EXPECT_EQ(-1, WN_GetComputersList(Text("remote"), nullptr));
  EXPECT_EQ(0, WN_GetEvents(-1, nullptr));
  EXPECT_EQ(0, WN_SetDefaultConnectParameters(empty));
  EXPECT_NE(0u, WN_SetProxySettingsAsync(empty, -1));
}

}  // namespace
}  // namespace standin
