#include "frontend/library/command_runner.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/event_channel.h"
#include "tests/support/json_text.h"
#include "tests/support/library_texts.h"
#include "tests/support/stand_in_scenario.h"
#include "tests/support/test_files.h"

namespace {

Json::Value Parse(const char* text) {
  Json::Value value;
  EXPECT_TRUE(ParseJsonText(text, &value)) << text;
  return value;
}

TEST(CommandRunnerTest, ReadCommandId) {
  struct Case {
    const char* id_cmd;
    bool readable;
    WN_CommandId id;
  } cases[] = {
      {"null", true, 0},
      {"true", true, 1},
      {"false", true, 0},
      {"7", true, 7},
      {"2147483648", true, 2147483648u},
      {"3000000000", true, 3000000000u},
      {"4294967295", true, 4294967295u},
      {"4294967296", false, 0},
      // Negative numbers by their 32-bit value, down to -2^31.
      {"-1", true, 4294967295u},
      {"-1294967296", true, 3000000000u},
      {"-2147483648", true, 2147483648u},
      {"-2147483649", false, 0},
      {"7.9", true, 7},
      {"-7.5", true, 4294967289u},
      {"4294967295.0", true, 4294967295u},
      {"4294967295.5", false, 0},
      {"-2147483648.5", false, 0},
      {"5e9", false, 0},
      // Texts: within the range by their 32-bit value, beyond it clamped.
      {"\"7\"", true, 7},
      {"\" \\t+42abc\"", true, 42},
      {"\"3000000000\"", true, 3000000000u},
      {"\"4294967295\"", true, 4294967295u},
      {"\"-1\"", true, 4294967295u},
      {"\"-5\"", true, 4294967291u},
      {"\"-2147483648\"", true, 2147483648u},
      {"\"4294967296\"", true, 2147483647u},
      {"\"99999999999\"", true, 2147483647u},
      {"\"-2147483649\"", true, 2147483648u},
      {"\"-99999999999\"", true, 2147483648u},
      {"\"abc\"", true, 0},
      {"\"\"", true, 0},
      {"[7]", false, 0},
      {"{\"id\":7}", false, 0},
  };
  for (const Case& c : cases) {
    WN_CommandId id = 12345;
    EXPECT_EQ(c.readable, ReadCommandId(Parse(c.id_cmd), &id)) << c.id_cmd;
    if (c.readable) {
      EXPECT_EQ(c.id, id) << c.id_cmd;
    }
  }
}

TEST(CommandRunnerTest, CheckCommandAnswer) {
  struct Case {
    const char* answer;
    AnswerOutcome outcome;
    const char* error;
  } cases[] = {
      {"null", AnswerOutcome::NoAnswer, ""},
      {"[{\"id_cmd\":7}]", AnswerOutcome::NoAnswer, ""},
      {"{\"id_cmd\":7,\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}",
       AnswerOutcome::Success, "OK"},
      {"{\"id_cmd\":\"7\",\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}",
       AnswerOutcome::Success, "OK"},
      {"{\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}", AnswerOutcome::WrongCommand, ""},
      {"{\"id_cmd\":{},\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}",
       AnswerOutcome::WrongCommand, ""},
      {"{\"id_cmd\":7,\"status\":\"finished\"}", AnswerOutcome::InvalidAnswer, ""},
      {"{\"id_cmd\":7,\"status\":\"finished\",\"result\":[]}", AnswerOutcome::InvalidAnswer, ""},
      {"{\"id_cmd\":7,\"status\":\"finished\",\"result\":\"OK\"}", AnswerOutcome::InvalidAnswer,
       ""},
      {"{\"id_cmd\":7,\"status\":\"finished\",\"result\":{}}", AnswerOutcome::FinishedWithError,
       ""},
      {"{\"id_cmd\":7,\"status\":\"finished\",\"result\":{\"error\":\"no_driver\"}}",
       AnswerOutcome::FinishedWithError, "no_driver"},
      {"{\"id_cmd\":7,\"status\":\"finished\",\"result\":{\"error\":[1]}}",
       AnswerOutcome::FinishedWithError, "[1]"},
      {"{\"id_cmd\":7,\"status\":\"timeout\",\"result\":{\"error\":\"OK\"}}",
       AnswerOutcome::Timeout, ""},
      {"{\"id_cmd\":7,\"status\":\"timeout\",\"result\":7}", AnswerOutcome::Timeout, ""},
      {"{\"id_cmd\":7,\"status\":\"FINISHED\",\"result\":{\"error\":\"OK\"}}",
       AnswerOutcome::FinishedWithError, ""},
      {"{\"id_cmd\":7,\"result\":{\"error\":\"OK\"}}", AnswerOutcome::FinishedWithError, ""},
  };
  for (const Case& c : cases) {
    std::string error = "before";
    EXPECT_EQ(c.outcome, CheckCommandAnswer(Parse(c.answer), 7, &error)) << c.answer;
    if (c.outcome != AnswerOutcome::NoAnswer && c.outcome != AnswerOutcome::WrongCommand) {
      EXPECT_EQ(c.error, error) << c.answer;
    }
  }
}

// SendAndCheckAnswer with a request that the test answers itself, from a
// thread of its own, as the library would.
int SendAnswered(WN_CommandId id, const Json::Value& answer, int delay_ms, uint32_t wait_ms,
                 std::string* out) {
  std::thread library;
  testing::internal::CaptureStdout();
  int result = SendAndCheckAnswer(
      [&] {
        if (!answer.isNull()) {
          library = std::thread([answer, delay_ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
            HandleLibraryEvent(answer);
          });
        }
        return id;
      },
      wait_ms, kPlainRunnerMessages);
  *out = testing::internal::GetCapturedStdout();
  if (library.joinable())
    library.join();
  return result;
}

TEST(CommandRunnerTest, WaitsForTheAnswerOfItsRequest) {
  struct Case {
    WN_CommandId id;
    Json::Value answer;
    int delay_ms;
    uint32_t wait_ms;
    int result;
    const char* out;
  } cases[] = {
      {7, CommandResult(7), 0, 5000, 0, "Success\n"},
      {7, CommandResult(7), 20, 5000, 0, "Success\n"},
      {3000000000u, CommandResult(3000000000u), 0, 5000, 0, "Success\n"},
      {7, CommandResult(7, "no_driver"), 0, 5000, 1,
       "ERROR: command finished with error: no_driver\n"},
      {7, CommandResult(6), 0, 5000, 1, "ERROR: answer on wrong command received.\n"},
      {7, Parse(R"({"event":"command_result","id_cmd":7,"status":"finished"})"), 0, 5000, 1,
       "ERROR: invalid answer on command.\n"},
      {7, Parse(R"({"event":"command_result","id_cmd":7,"status":"timeout","result":{}})"), 0, 5000,
       1, "ERROR: operation timeout\n"},
      {7, Parse(R"({"event":"command_result","id_cmd":7,"status":"finished","result":{}})"), 0,
       5000, 1, "ERROR: command finished with error: \n"},
      {7, Json::Value(), 0, 50, 1, "ERROR: command is not responding.\n"},
      {0, Json::Value(), 0, 5000, 1, "ERROR: Can't execute command.\n"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(c.result, SendAnswered(c.id, c.answer, c.delay_ms, c.wait_ms, &out)) << c.out;
    EXPECT_EQ(c.out, out);
  }
}

TEST(CommandRunnerTest, GivesTheErrorTextToItsCaller) {
  std::string error;
  testing::internal::CaptureStdout();
  SendAndCheckAnswer(
      [] {
        HandleLibraryEvent(CommandResult(7, "no_driver"));
        return 7u;
      },
      5000, kPlainRunnerMessages, &error);
  EXPECT_EQ("ERROR: command finished with error: no_driver\n",
            testing::internal::GetCapturedStdout());
  EXPECT_EQ("no_driver", error);
}

// Against the stand-in library, which reads its scenario once per process,
// at its first call: the answers of every case are scripted up front.
class CommandRunnerLibraryTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<TempDir>();
    ASSERT_NE("", dir_->path());
    const std::string path = dir_->File("scenario.json");
    WriteFile(path, Scenario().Text());
    environment_ = std::make_unique<ScopedEnvironment>();
    environment_->Set("WIRENEST_SCENARIO", path);
    environment_->Unset("WIRENEST_STATE");
    environment_->Unset("WIRENEST_CALL_LOG");
  }
  static void TearDownTestSuite() {
    environment_.reset();
    dir_.reset();
  }

  void SetUp() override {
    ScopedVariant email;
    if (!WN_GetEmail(email.out()) || VariantToString(email.get()) != "runner-test")
      FAIL() << "the library was started before this test, without its scenario";
    ASSERT_TRUE(EnableLibraryEvents());
  }

  // The answers of every case; the e-mail tells that the library read them.
  static StandInScenario Scenario() {
    StandInScenario scenario;
    scenario.Answer("email", ResultAndText(1, "runner-test"));
    scenario.Request("WN_SetComputerNameAsync", AnsweredRequest(31));
    scenario.Request("WN_LogoutComputerAsync", AnsweredRequest(32).DelayMs(40));
    scenario.Request("WN_LockDeviceAsync", ScriptedRequest().Id(33).Answer(Json::Value()));
    scenario.Request(
        "WN_ForgetConnectionAsync",
        ScriptedRequest().Id(34).Drain({"[1,null,\"x\"," + CompactJson(CommandResult(34)) + "]"}));
    scenario.Request("WN_SetComportNameAsync",
                     ScriptedRequest().Id(35).Drain({CompactJson(CommandResult(35))}));
    scenario.Request("WN_DisconnectDeviceAsync",
                     ScriptedRequest().Id(36).Drain({"not json", CommandResultBatch(36)}));
    return scenario;
  }

  static std::unique_ptr<TempDir> dir_;
  static std::unique_ptr<ScopedEnvironment> environment_;
};

std::unique_ptr<TempDir> CommandRunnerLibraryTest::dir_;
std::unique_ptr<ScopedEnvironment> CommandRunnerLibraryTest::environment_;

// The front end's callback, counted: a case that is to end unanswered waits
// for its drain to be taken before its short wait, however slow the library's
// thread is to hand it over.
struct TakenDrains {
  std::mutex mutex;
  std::condition_variable changed;
  int taken = 0;
  bool taking = false;
} g_drains;

void WN_CALL CountedLibraryEvents() {
  {
    std::lock_guard<std::mutex> lock(g_drains.mutex);
    g_drains.taking = true;
  }
  OnLibraryEvents();
  std::lock_guard<std::mutex> lock(g_drains.mutex);
  g_drains.taking = false;
  ++g_drains.taken;
  g_drains.changed.notify_all();
}

// `send`, returning once the drain of its request has been taken; the drains
// of the cases before it were all under way by then.
std::function<WN_CommandId()> AfterItsDrain(const std::function<WN_CommandId()>& send) {
  return [send] {
    const auto patience = std::chrono::seconds(30);
    std::unique_lock<std::mutex> lock(g_drains.mutex);
    g_drains.changed.wait_for(lock, patience, [] { return !g_drains.taking; });
    const int before = g_drains.taken;
    lock.unlock();
    const WN_CommandId id = send();
    lock.lock();
    g_drains.changed.wait_for(lock, patience, [before] { return g_drains.taken > before; });
    return id;
  };
}

TEST_F(CommandRunnerLibraryTest, AnswersThroughTheLibrarysThread) {
  ASSERT_EQ(1, WN_SetEventCallback(CountedLibraryEvents));
  ScopedVariant text(std::string("x"));
  const struct {
    const char* what;
    std::function<WN_CommandId()> send;
    uint32_t wait_ms;
    int result;
    const char* out;
  } cases[] = {
      {"answered at once",
       [&] { return WN_SetComputerNameAsync(text.get(), text.get(), kUnusedRequestInt); }, 5000, 0,
       "Success\n"},
      {"answered during the wait",
       [&] { return WN_LogoutComputerAsync(text.get(), kUnusedRequestInt); }, 5000, 0, "Success\n"},
      {"never answered",
       [&] { return WN_LockDeviceAsync(text.get(), text.get(), 1, kUnusedRequestInt); }, 50, 1,
       "ERROR: command is not responding.\n"},
      {"answered after other elements of its batch",
       [&] { return WN_ForgetConnectionAsync(text.get(), text.get(), kUnusedRequestInt); }, 5000, 0,
       "Success\n"},
      {"answered by an object outside an array, which is ignored", AfterItsDrain([&] {
         return WN_SetComportNameAsync(text.get(), text.get(), text.get(), kUnusedRequestInt);
       }),
       100, 1, "ERROR: command is not responding.\n"},
      // Last: its answer stays queued in the library.
      {"answered after a batch that ends the drain", AfterItsDrain([&] {
         return WN_DisconnectDeviceAsync(text.get(), text.get(), kUnusedRequestInt);
       }),
       200, 1, "ERROR: Can't parse json event\nERROR: command is not responding.\n"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.result, SendAndCheckAnswer(c.send, c.wait_ms, kPlainRunnerMessages)) << c.what;
    EXPECT_EQ(c.out, testing::internal::GetCapturedStdout()) << c.what;
  }
}

}  // namespace
