// A try made again while what it waits for is busy elsewhere: a blocking
// wait could wait forever, so tries are spaced out a little instead, for a
// bounded time.
#ifndef WIRENEST_STANDIN_RETRY_H_
#define WIRENEST_STANDIN_RETRY_H_

#include <algorithm>
#include <chrono>
#include <thread>

namespace standin {

enum class Attempt { kDone, kBusy, kFailed };

// The first answer of `attempt` that is not kBusy, or kBusy once `patience`
// has passed.
template <typename Try>
Attempt RetryWhileBusy(std::chrono::milliseconds patience, Try attempt) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  std::chrono::milliseconds pause(1);
  for (;;) {
    const Attempt result = attempt();
    if (result != Attempt::kBusy || std::chrono::steady_clock::now() >= deadline)
      return result;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

}  // namespace standin

#endif  // WIRENEST_STANDIN_RETRY_H_
