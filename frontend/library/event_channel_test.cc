#include "frontend/library/event_channel.h"

#include <chrono>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"
#include "tests/support/library_texts.h"

namespace {

// The library's thread, handing one event over after `delay_ms`.
std::thread DeliverLater(const Json::Value& event, int delay_ms) {
  return std::thread([event, delay_ms] {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    HandleLibraryEvent(event);
  });
}

TEST(EventChannelTest, AnswerBeforeTheWaitIsKept) {
  PrepareForCommandResult();
  std::thread library = DeliverLater(CommandResult(7), 0);
  library.join();
  EXPECT_TRUE(WaitForCommandResult(0));
  EXPECT_EQ(CommandResult(7), TakeCommandResult());
}

TEST(EventChannelTest, AnswerDuringTheWaitEndsIt) {
  PrepareForCommandResult();
  std::thread library = DeliverLater(CommandResult(8), 20);
  EXPECT_TRUE(WaitForCommandResult(10000));
  library.join();
  EXPECT_EQ(CommandResult(8), TakeCommandResult());
}

TEST(EventChannelTest, AnswerAfterTheWaitIsForgottenByTheNextPreparation) {
  PrepareForCommandResult();
  EXPECT_FALSE(WaitForCommandResult(30));
  EXPECT_TRUE(TakeCommandResult().isNull());
  std::thread library = DeliverLater(CommandResult(9), 0);
  library.join();
  EXPECT_TRUE(WaitForCommandResult(0));
  PrepareForCommandResult();
  EXPECT_FALSE(WaitForCommandResult(0));
  EXPECT_TRUE(TakeCommandResult().isNull());
}

TEST(EventChannelTest, OnlyCommandResultsAreHandedOver) {
  const char* kIgnored[] = {
      "{\"id_cmd\":7}",
      "{\"event\":\"Command_result\",\"id_cmd\":7}",
      "{\"event\":\"command_results\",\"id_cmd\":7}",
      "{\"event\":\"command_result \",\"id_cmd\":7}",
      "{\"event\":[\"command_result\"],\"id_cmd\":7}",
  };
  for (const char* text : kIgnored) {
    Json::Value event;
    ASSERT_TRUE(ParseJsonText(text, &event));
    PrepareForCommandResult();
    HandleLibraryEvent(event);
    EXPECT_FALSE(WaitForCommandResult(0)) << text;
    EXPECT_TRUE(TakeCommandResult().isNull()) << text;
  }
  // The latest answer wins.
  PrepareForCommandResult();
  HandleLibraryEvent(CommandResult(7, "first"));
  HandleLibraryEvent(CommandResult(7, "second"));
  EXPECT_EQ(CommandResult(7, "second"), TakeCommandResult());
}

TEST(EventChannelTest, BatchLeavesItsLastAnswer) {
  struct Case {
    const char* batch;
    int answer_id;  // 0: none handed over
  } cases[] = {
      {"[]", 0},
      {"{\"event\":\"command_result\",\"id_cmd\":7}", 0},
      {"[3,{\"event\":\"command_result\",\"id_cmd\":7}]", 7},
      {"[{\"event\":\"command_result\",\"id_cmd\":7},{\"event\":\"x\",\"id_cmd\":8},"
       "{\"event\":\"command_result\",\"id_cmd\":9},null,[{\"event\":\"command_result\"}]]",
       9},
  };
  for (const Case& c : cases) {
    Json::Value batch;
    ASSERT_TRUE(ParseJsonText(c.batch, &batch));
    PrepareForCommandResult();
    HandleLibraryBatch(batch);
    EXPECT_EQ(c.answer_id != 0, WaitForCommandResult(0)) << c.batch;
    EXPECT_EQ(c.answer_id, TakeCommandResult()["id_cmd"].asInt()) << c.batch;
  }
}

// In the batch [999, 5] the second answer is large: a handler that stored
// the answers one by one would stall while copying it, long enough for a
// main thread that reads as soon as it wakes, or at any moment after an
// earlier answer, to see the first. It only ever sees what whole batches
// leave.
TEST(EventChannelTest, BatchIsHandedOverWhole) {
  Json::Value large_answer = CommandResult(5);
  for (int i = 0; i < 200000; ++i)
    large_answer["padding"].append(i);
  Json::Value batch(Json::arrayValue);
  batch.append(CommandResult(999));
  batch.append(large_answer);
  for (bool earlier_answer : {false, true}) {
    PrepareForCommandResult();
    if (earlier_answer)
      HandleLibraryEvent(CommandResult(4));
    std::set<int> seen;
    std::thread main_thread([&seen] {
      if (!WaitForCommandResult(60000))
        return;
      int id = 0;
      while (id != 5) {
        id = TakeCommandResult()["id_cmd"].asInt();
        seen.insert(id);
      }
    });
    HandleLibraryBatch(batch);
    main_thread.join();
    EXPECT_EQ(0u, seen.count(999)) << (earlier_answer ? "after an earlier answer" : "at the wake");
    EXPECT_EQ(1u, seen.count(5));
  }
}

TEST(EventChannelTest, ManyAnswersWhileTheMainThreadPreparesAndTakes) {
  // Every hand-over is whole: a taken answer is one of those sent.
  std::thread library([] {
    for (uint32_t id = 1; id <= 2000; ++id)
      HandleLibraryEvent(CommandResult(id));
  });
  for (int i = 0; i < 2000; ++i) {
    PrepareForCommandResult();
    if (WaitForCommandResult(0)) {
      Json::Value answer = TakeCommandResult();
      EXPECT_EQ("command_result", answer["event"].asString());
    }
  }
  library.join();
}

}  // namespace
