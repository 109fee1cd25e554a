#include "wirenest/standin/event_thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <new>

#include <gtest/gtest.h>

namespace standin {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// What the callbacks saw, one drain a call; a callback is a plain function.
struct Seen {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Drain> drains;
  std::vector<Clock::time_point> times;
};

EventThread* g_thread = nullptr;
Seen* g_seen = nullptr;
std::atomic<int> g_callback_sleep_ms{0};

void WN_CALL TakeBatches() {
  std::this_thread::sleep_for(milliseconds(g_callback_sleep_ms));
  Drain drain;
  for (std::string batch; g_thread->NextBatch(&batch);)
    drain.push_back(batch);
  std::lock_guard<std::mutex> lock(g_seen->mutex);
  g_seen->drains.push_back(drain);
  g_seen->times.push_back(Clock::now());
  g_seen->changed.notify_all();
}

class EventThreadTest : public ::testing::Test {
 protected:
  EventThreadTest() {
    g_thread = &thread_;
    g_seen = &seen_;
    g_callback_sleep_ms = 0;
  }
  ~EventThreadTest() override { thread_.Stop(milliseconds(1000)); }

  size_t DrainCount() {
    std::lock_guard<std::mutex> lock(seen_.mutex);
    return seen_.drains.size();
  }

  bool WaitForDrains(size_t count) {
    std::unique_lock<std::mutex> lock(seen_.mutex);
    return seen_.changed.wait_for(lock, milliseconds(2000),
                                  [&] { return seen_.drains.size() >= count; });
  }

  Seen seen_;
  EventThread thread_;
};

TEST_F(EventThreadTest, DeliversDrainsInOrderOneCallbackEach) {
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  Clock::time_point start = Clock::now();
  thread_.Deliver({{"a1", "a2"}, {}}, 40);
  thread_.Deliver({{"b"}}, 0);
  ASSERT_TRUE(WaitForDrains(3));
  EXPECT_EQ((std::vector<Drain>{{"a1", "a2"}, {}, {"b"}}), seen_.drains);
  EXPECT_GE(seen_.times[0] - start, milliseconds(40));
  std::string batch;
  EXPECT_FALSE(thread_.NextBatch(&batch));
}

TEST_F(EventThreadTest, KeepsDrainsUntilThereIsACallbackAndTheQueueIsOn) {
  thread_.Deliver({{"early"}}, 0);
  thread_.SetCallback(TakeBatches);
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(0u, DrainCount());
  thread_.SetQueueEnabled(true);
  ASSERT_TRUE(WaitForDrains(1));
  EXPECT_EQ(Drain{"early"}, seen_.drains[0]);
}

TEST_F(EventThreadTest, StopsAtOnceWhileADeliveryWaits) {
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  thread_.Deliver({{"late"}}, 60000);
  Clock::time_point start = Clock::now();
  EXPECT_TRUE(thread_.Stop(milliseconds(1000)));
  EXPECT_LT(Clock::now() - start, milliseconds(500));
  EXPECT_EQ(0u, DrainCount());
  thread_.Deliver({{"after"}}, 0);
  EXPECT_TRUE(thread_.Stop(milliseconds(1000)));
}

TEST_F(EventThreadTest, StopWaitsForACallbackInProgress) {
  g_callback_sleep_ms = 50;
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  thread_.Deliver({{"x"}}, 0);
  std::this_thread::sleep_for(milliseconds(10));
  EXPECT_TRUE(thread_.Stop(milliseconds(1000)));
  EXPECT_EQ(1u, seen_.drains.size());
}

// Made drains keep their place: what was queued after waits for them. The
// work runs though nothing can be handed out yet.
TEST_F(EventThreadTest, MadeDrainsKeepTheirPlaceInTheOrder) {
  std::promise<void> started, let_go;
  std::shared_future<void> go = let_go.get_future().share();
  thread_.DeliverMade(
      [&started, go] {
        started.set_value();
        go.wait();
        return std::vector<Drain>{{"made"}};
      },
      0);
  thread_.Deliver({{"after"}}, 0);
  thread_.DeliverMade([] { return std::vector<Drain>(); }, 0);
  thread_.Deliver({{"last"}}, 0);
  ASSERT_EQ(std::future_status::ready, started.get_future().wait_for(milliseconds(2000)));
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(0u, DrainCount());
  let_go.set_value();
  ASSERT_TRUE(WaitForDrains(3));
  EXPECT_EQ((std::vector<Drain>{{"made"}, {"after"}, {"last"}}), seen_.drains);
}

TEST_F(EventThreadTest, StopWaitsForTheWorkInProgressAndDropsTheRest) {
  std::promise<void> started;
  std::atomic<int> runs{0};
  thread_.DeliverMade(
      [&] {
        started.set_value();
        std::this_thread::sleep_for(milliseconds(50));
        ++runs;
        return std::vector<Drain>{{"x"}};
      },
      0);
  thread_.DeliverMade(
      [&] {
        ++runs;
        return std::vector<Drain>();
      },
      0);
  ASSERT_EQ(std::future_status::ready, started.get_future().wait_for(milliseconds(2000)));
  EXPECT_TRUE(thread_.Stop(milliseconds(1000)));
  EXPECT_EQ(1, runs);
}

// A maker that throws, as when memory runs out, is answered at once with
// the drains made for that beforehand, in its place; without them it is
// not answered. The thread goes on with the next.
TEST_F(EventThreadTest, AMakerThatThrowsIsAnsweredWithTheDrainsMadeForThat) {
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  auto out_of_memory = []() -> std::vector<Drain> { throw std::bad_alloc(); };
  Clock::time_point start = Clock::now();
  thread_.DeliverMade(out_of_memory, 0, {{"failed", "answer"}});
  thread_.Deliver({{"after"}}, 0);
  thread_.DeliverMade(out_of_memory, 0);
  thread_.DeliverMade([] { return std::vector<Drain>{{"made"}}; }, 0, {{"unused"}});
  ASSERT_TRUE(WaitForDrains(3));
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
  std::this_thread::sleep_for(milliseconds(20));
  ASSERT_EQ(3u, DrainCount());
  EXPECT_EQ((std::vector<Drain>{{"failed", "answer"}, {"after"}, {"made"}}), seen_.drains);
}

void WN_CALL TakeLong() { std::this_thread::sleep_for(milliseconds(200)); }

TEST(EventThreadGiveUpTest, StopGivesUpOnACallbackThatTakesTooLong) {
  // Left running on purpose, so never destroyed.
  static EventThread* thread = new EventThread;
  thread->SetCallback(TakeLong);
  thread->SetQueueEnabled(true);
  thread->Deliver({{"slow"}}, 0);
  std::this_thread::sleep_for(milliseconds(10));
  EXPECT_FALSE(thread->Stop(milliseconds(20)));
  EXPECT_FALSE(thread->Stop(milliseconds(20)));
}

}  // namespace
}  // namespace standin
