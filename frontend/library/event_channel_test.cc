#include "frontend/library/event_channel.h"

#include <chrono>
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
