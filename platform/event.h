// A manual-reset event: once set it stays set until reset, and every wait
// while it is set returns at once.
#ifndef WNCTL_PLATFORM_EVENT_H_
#define WNCTL_PLATFORM_EVENT_H_

#include <stdint.h>

#include <condition_variable>
#include <mutex>

class ManualResetEvent {
 public:
  ManualResetEvent() = default;
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  void Set();
  void Reset();
  // True when the event is set within `timeout_ms` milliseconds.
  bool Wait(uint32_t timeout_ms);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_ = false;
};

#endif  // WNCTL_PLATFORM_EVENT_H_
