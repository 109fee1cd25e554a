#include "wirenest/standin/scripted_answers.h"

#include <gtest/gtest.h>

#include "wirenest/standin/json_text.h"

namespace standin {
namespace {

ScriptedAnswers Parsed(const std::string& text) {
  Json::Value json;
  std::string error;
  ScriptedAnswers answers;
  EXPECT_TRUE(ParseJson(text, &json, &error)) << error;
  EXPECT_TRUE(ScriptedAnswers::Parse(json, &answers, &error)) << error;
  return answers;
}

TEST(ScriptedAnswersTest, SuccessiveCallsTakeTheNextItemAndTheLastRepeats) {
  ScriptedAnswers answers = Parsed(R"({"is_ok": [0, 0, 1], "status": ["{}", null, "busy"]})");
  EXPECT_EQ(0, answers.NextIsOk());
  EXPECT_EQ(0, answers.NextIsOk());
  EXPECT_EQ(1, answers.NextIsOk());
  EXPECT_EQ(1, answers.NextIsOk());
  EXPECT_EQ((Answer{1, "{}"}), answers.NextStatus());
  EXPECT_EQ((Answer{0, ""}), answers.NextStatus());
  EXPECT_EQ((Answer{1, "busy"}), answers.NextStatus());
  EXPECT_EQ((Answer{1, "busy"}), answers.NextStatus());
}

TEST(ScriptedAnswersTest, BareItemsStandForOneItemLists) {
  ScriptedAnswers answers = Parsed(R"({"is_ok": 7, "status": null})");
  EXPECT_EQ(7, answers.NextIsOk());
  EXPECT_EQ(7, answers.NextIsOk());
  EXPECT_EQ((Answer{0, ""}), answers.NextStatus());
  EXPECT_EQ((Answer{1, "not json"}), Parsed(R"({"status": "not json"})").NextStatus());
}

TEST(ScriptedAnswersTest, AbsentMembersLeaveTheAnswerToTheWorld) {
  ScriptedAnswers answers = Parsed("{}");
  EXPECT_FALSE(answers.NextIsOk());
  EXPECT_FALSE(answers.NextStatus());
  EXPECT_FALSE(answers.email());
  EXPECT_FALSE(answers.ComputerInfo("41"));
  EXPECT_FALSE(answers.ComputersList("remote"));
  EXPECT_FALSE(answers.DevicesList("41"));
  EXPECT_FALSE(answers.DeviceInfo("41", "usb-1"));
  EXPECT_FALSE(answers.InviteInfo("inv-1"));
  EXPECT_FALSE(answers.set_event_callback());
  EXPECT_EQ(nullptr, answers.Request("WN_LockDeviceAsync"));
}

TEST(ScriptedAnswersTest, PresentMembersAnswerEveryKeyListedOrNot) {
  ScriptedAnswers answers = Parsed(R"({
    "email": [1, "a@b.c"],
    "computer_info": {"41": [1, "{\"id_comp\":\"41\"}"]},
    "computer_lists": {"remote": [2, "[\"1\",\"2\"]"]},
    "device_lists": {"41": [0, "[]"]},
    "device_info": {"41": {"usb-1": [1, "{}"]}},
    "invite_info": {"inv-1": [1, "{}"]},
    "set_default_params": 0})");
  EXPECT_EQ((Answer{1, "a@b.c"}), answers.email());
  EXPECT_EQ((Answer{1, "{\"id_comp\":\"41\"}"}), answers.ComputerInfo("41"));
  EXPECT_EQ((Answer{0, ""}), answers.ComputerInfo("42"));
  EXPECT_EQ((Answer{2, "[\"1\",\"2\"]"}), answers.ComputersList("remote"));
  EXPECT_EQ((Answer{-1, ""}), answers.ComputersList("other"));
  EXPECT_EQ((Answer{0, "[]"}), answers.DevicesList("41"));
  EXPECT_EQ((Answer{-1, ""}), answers.DevicesList("42"));
  EXPECT_EQ((Answer{1, "{}"}), answers.DeviceInfo("41", "usb-1"));
  EXPECT_EQ((Answer{0, ""}), answers.DeviceInfo("41", "usb-2"));
  EXPECT_EQ((Answer{0, ""}), answers.DeviceInfo("42", "usb-1"));
  EXPECT_EQ((Answer{0, ""}), answers.InviteInfo("inv-2"));
  EXPECT_EQ(0, answers.set_default_params());
}

TEST(ScriptedAnswersTest, ReadsRequestsAndEarlyDrains) {
  ScriptedAnswers answers = Parsed(R"({
    "early_drains": [["[]"], []],
    "requests": {
      "WN_LockDeviceAsync": {"id": 9, "answer": null, "batches": ["[1]"], "delay_ms": 20},
      "WN_AcceptInviteAsync": {"drains": [["a", "b"]]}}})");
  ASSERT_EQ(2u, answers.early_drains().size());
  EXPECT_EQ(Drain{"[]"}, answers.early_drains()[0]);
  const ScriptedRequest* lock = answers.Request("WN_LockDeviceAsync");
  ASSERT_NE(nullptr, lock);
  EXPECT_EQ(9u, lock->id);
  ASSERT_TRUE(lock->answer);
  EXPECT_TRUE(lock->answer->isNull());
  EXPECT_EQ(std::vector<std::string>{"[1]"}, lock->batches);
  EXPECT_FALSE(lock->drains);
  EXPECT_EQ(20u, lock->delay_ms);
  const ScriptedRequest* accept = answers.Request("WN_AcceptInviteAsync");
  ASSERT_NE(nullptr, accept);
  EXPECT_FALSE(accept->id);
  EXPECT_FALSE(accept->answer);
  EXPECT_EQ((std::vector<Drain>{{"a", "b"}}), accept->drains);
  EXPECT_TRUE(answers.IsScriptedId(9));
  EXPECT_FALSE(answers.IsScriptedId(1));
}

TEST(ScriptedAnswersTest, WrongTypesAreRefusedNamingTheMember) {
  const struct {
    const char* answers;
    const char* problem;
  } cases[] = {
      {"[]", "answers must be an object"},
      {R"({"is_okay": 1})", "answers.is_okay is not a scripted answer"},
      {R"({"is_ok": "1"})", "answers.is_ok must be an int or a non-empty list of ints"},
      {R"({"is_ok": []})", "answers.is_ok must be an int or a non-empty list of ints"},
      {R"({"is_ok": [1, true]})", "answers.is_ok[1] must be an int"},
      {R"({"status": [1]})", "answers.status must be a string, null or a non-empty list of them"},
      {R"({"email": "a@b.c"})", "answers.email must be [int, string]"},
      {R"({"version": [1, 2]})", "answers.version must be [int, string]"},
      {R"({"proxy": [1, "{}", 3]})", "answers.proxy must be [int, string]"},
      {R"({"computer_info": {"41": [1]}})", "answers.computer_info.41 must be [int, string]"},
      {R"({"device_info": {"41": [1, ""]}})", "answers.device_info.41 must be an object"},
      {R"({"set_event_callback": true})", "answers.set_event_callback must be an int"},
      {R"({"early_drains": [["a", 1]]})", "answers.early_drains[0][1] must be a string"},
      {R"({"requests": {"WN_Lock": {}}})",
       "answers.requests.WN_Lock is not an asynchronous request"},
      {R"({"requests": {"WN_LockDeviceAsync": {"id": -1}}})",
       "answers.requests.WN_LockDeviceAsync.id must be a number from 0 to 4294967295"},
      {R"({"requests": {"WN_LockDeviceAsync": {"delay": 5}}})",
       "answers.requests.WN_LockDeviceAsync.delay is not a member of a request"},
      {R"({"requests": {"WN_LockDeviceAsync": {"batches": "[]"}}})",
       "answers.requests.WN_LockDeviceAsync.batches must be a list of strings"},
      {R"({"requests": {"WN_LockDeviceAsync": {"drains": ["[]"]}}})",
       "answers.requests.WN_LockDeviceAsync.drains[0] must be a list of strings"},
  };
  for (const auto& c : cases) {
    Json::Value json;
    std::string error;
    ScriptedAnswers answers;
    ASSERT_TRUE(ParseJson(c.answers, &json, &error)) << c.answers;
    EXPECT_FALSE(ScriptedAnswers::Parse(json, &answers, &error)) << c.answers;
    EXPECT_EQ(c.problem, error) << c.answers;
  }
}

}  // namespace
}  // namespace standin
