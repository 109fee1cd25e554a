// A manual-reset event: once set it stays set until reset, and every wait
// while it is set returns at once.
#ifndef WNCTL_PLATFORM_EVENT_H_
#define WNCTL_PLATFORM_EVENT_H_

#include <stdint.h>

#ifndef _WIN32
#include <condition_variable>
#include <mutex>
#endif

class ManualResetEvent {
 public:
  ManualResetEvent();
  ~ManualResetEvent();
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  void Set();
  void Reset();
  // True when the event is set within `timeout_ms` milliseconds.
  bool Wait(uint32_t timeout_ms);

 private:
#ifdef _WIN32
  // The system's event; null when it could not be made, and then setting
  // and resetting do nothing and every wait fails at once.
  void* handle_;
#else
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_ = false;
#endif
};

#endif  // WNCTL_PLATFORM_EVENT_H_
