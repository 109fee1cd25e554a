#include "platform/event.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(ManualResetEvent, StaysSetUntilReset) {
  ManualResetEvent event;
  EXPECT_FALSE(event.Wait(0));
  event.Set();
  EXPECT_TRUE(event.Wait(0));
  EXPECT_TRUE(event.Wait(0));  // a wait does not reset it
  event.Set();
  EXPECT_TRUE(event.Wait(0));
  event.Reset();
  EXPECT_FALSE(event.Wait(0));
}

// The time-out is in milliseconds, and a set ends a long wait early.
TEST(ManualResetEvent, WaitLastsUntilSetOrTimedOut) {
  ManualResetEvent event;
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(event.Wait(60));
  // Some system clocks tick in steps of about 16 ms.
  EXPECT_GE(MillisecondsSince(start), 40);

  std::thread setter([&event] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    event.Set();
  });
  start = Clock::now();
  EXPECT_TRUE(event.Wait(60000));
  EXPECT_LT(MillisecondsSince(start), 30000);
  setter.join();
}

}  // namespace
