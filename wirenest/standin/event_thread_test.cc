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

// Long enough for anything these tests wait for but what never comes.
const milliseconds kPatience(30000);

// Opens once, for whoever waits.
class Latch {
 public:
  void Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  bool Wait(milliseconds patience) {
    std::unique_lock<std::mutex> lock(mutex_);
    return opened_.wait_for(lock, patience, [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

// What the callbacks saw, one drain a call; a callback is a plain function.
struct Seen {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Drain> drains;
  std::vector<Clock::time_point> times;
};

EventThread* g_thread = nullptr;
Seen* g_seen = nullptr;
Latch* g_callback_began = nullptr;
std::atomic<int> g_callback_sleep_ms{0};

void WN_CALL TakeBatches() {
  g_callback_began->Open();
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
    g_callback_began = &callback_began_;
    g_callback_sleep_ms = 0;
  }
  ~EventThreadTest() override { thread_.Stop(kPatience); }

  size_t DrainCount() {
    std::lock_guard<std::mutex> lock(seen_.mutex);
    return seen_.drains.size();
  }

  bool WaitForDrains(size_t count) {
    std::unique_lock<std::mutex> lock(seen_.mutex);
    return seen_.changed.wait_for(lock, kPatience, [&] { return seen_.drains.size() >= count; });
  }

  // Returns once Stop() has begun: until then a probe is queued, which no
  // callback takes while there is none.
  void WaitUntilStopping() {
    while (thread_.Deliver({{"probe"}}, 0))
      std::this_thread::sleep_for(milliseconds(1));
  }

  Latch callback_began_;
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
  // Due long after the patience: a stop that waited for it would give up.
  thread_.Deliver({{"late"}}, 24 * 3600 * 1000);
  EXPECT_TRUE(thread_.Stop(kPatience));
  EXPECT_EQ(0u, DrainCount());
  thread_.Deliver({{"after"}}, 0);
  EXPECT_TRUE(thread_.Stop(kPatience));
}

TEST_F(EventThreadTest, StopWaitsForACallbackInProgress) {
  g_callback_sleep_ms = 50;
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  thread_.Deliver({{"x"}}, 0);
  ASSERT_TRUE(callback_began_.Wait(kPatience));
  EXPECT_TRUE(thread_.Stop(kPatience));
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
  ASSERT_EQ(std::future_status::ready, started.get_future().wait_for(kPatience));
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(0u, DrainCount());
  let_go.set_value();
  ASSERT_TRUE(WaitForDrains(3));
  EXPECT_EQ((std::vector<Drain>{{"made"}, {"after"}, {"last"}}), seen_.drains);
}

// The first work ends only once the stop has begun, so that the second is
// still waiting then.
TEST_F(EventThreadTest, StopWaitsForTheWorkInProgressAndDropsTheRest) {
  std::promise<void> started;
  std::atomic<int> runs{0};
  thread_.DeliverMade(
      [&] {
        started.set_value();
        WaitUntilStopping();
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
  ASSERT_EQ(std::future_status::ready, started.get_future().wait_for(kPatience));
  EXPECT_TRUE(thread_.Stop(kPatience));
  EXPECT_EQ(1, runs);
}

// A maker that throws, as when memory runs out, is answered at once with
// the drains made for that beforehand, in its place; without them it is
// not answered. The thread goes on with the next. What follows in the order
// shows that nothing else went out before it.
TEST_F(EventThreadTest, AMakerThatThrowsIsAnsweredWithTheDrainsMadeForThat) {
  thread_.SetCallback(TakeBatches);
  thread_.SetQueueEnabled(true);
  auto out_of_memory = []() -> std::vector<Drain> { throw std::bad_alloc(); };
  thread_.DeliverMade(out_of_memory, 0, {{"failed", "answer"}});
  thread_.Deliver({{"after"}}, 0);
  thread_.DeliverMade(out_of_memory, 0);
  thread_.DeliverMade([] { return std::vector<Drain>{{"made"}}; }, 0, {{"unused"}});
  thread_.Deliver({{"last"}}, 0);
  ASSERT_TRUE(WaitForDrains(4));
  EXPECT_EQ((std::vector<Drain>{{"failed", "answer"}, {"after"}, {"made"}, {"last"}}),
            seen_.drains);
}

// Never destroyed, as the thread whose callback waits on them.
Latch* const g_long_callback_began = new Latch;
Latch* const g_long_callback_may_end = new Latch;

void WN_CALL TakeLong() {
  g_long_callback_began->Open();
  g_long_callback_may_end->Wait(kPatience);
}

TEST(EventThreadGiveUpTest, StopGivesUpOnACallbackThatTakesTooLong) {
  // Left running on purpose, so never destroyed.
  static EventThread* thread = new EventThread;
  thread->SetCallback(TakeLong);
  thread->SetQueueEnabled(true);
  thread->Deliver({{"slow"}}, 0);
  ASSERT_TRUE(g_long_callback_began->Wait(kPatience));
  EXPECT_FALSE(thread->Stop(milliseconds(20)));
  EXPECT_FALSE(thread->Stop(milliseconds(20)));
  g_long_callback_may_end->Open();
}

}  // namespace
}  // namespace standin
