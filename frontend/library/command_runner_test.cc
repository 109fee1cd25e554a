#include "frontend/library/command_runner.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"
#include "frontend/library/event_channel.h"

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
      {"7", true, 7},
      {"2147483648", true, 2147483648u},
      {"3000000000", true, 3000000000u},
      {"4294967295", true, 4294967295u},
      {"4294967296", false, 0},
      {"-1", false, 0},
      {"7.9", true, 7},
      {"-7.5", false, 0},
      {"5e9", false, 0},
      {"true", true, 1},
      {"\"7\"", true, 7},
      {"\" \\t+42abc\"", true, 42},
      {"\"3000000000\"", true, 3000000000u},
      {"\"99999999999\"", true, 4294967295u},  // clamped, as texts are
      {"\"-5\"", true, 0},
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
      {"{\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}", AnswerOutcome::WrongCommand,
       ""},
      {"{\"id_cmd\":{},\"status\":\"finished\",\"result\":{\"error\":\"OK\"}}",
       AnswerOutcome::WrongCommand, ""},
      {"{\"id_cmd\":7,\"status\":\"finished\"}", AnswerOutcome::InvalidAnswer, ""},
      {"{\"id_cmd\":7,\"status\":\"finished\",\"result\":[]}", AnswerOutcome::InvalidAnswer,
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

Json::Value Answer(WN_CommandId id, const char* error = "OK") {
  Json::Value answer;
  answer["event"] = "command_result";
  answer["id_cmd"] = id;
  answer["status"] = "finished";
  answer["result"]["error"] = error;
  return answer;
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
      {7, Answer(7), 0, 5000, 0, "Success\n"},
      {7, Answer(7), 20, 5000, 0, "Success\n"},
      {3000000000u, Answer(3000000000u), 0, 5000, 0, "Success\n"},
      {7, Answer(7, "no_driver"), 0, 5000, 1, "ERROR: command finished with error: no_driver\n"},
      {7, Answer(6), 0, 5000, 1, "ERROR: answer on wrong command received.\n"},
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
        HandleLibraryEvent(Answer(7, "no_driver"));
        return 7u;
      },
      5000, kPlainRunnerMessages, &error);
  EXPECT_EQ("ERROR: command finished with error: no_driver\n",
            testing::internal::GetCapturedStdout());
  EXPECT_EQ("no_driver", error);
}

}  // namespace
