#include "platform/event.h"

#include <chrono>

ManualResetEvent::ManualResetEvent() = default;

ManualResetEvent::~ManualResetEvent() = default;

void ManualResetEvent::Set() {
  std::lock_guard<std::mutex> hold(mutex_);
  set_ = true;
  changed_.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard<std::mutex> hold(mutex_);
  set_ = false;
}

bool ManualResetEvent::Wait(uint32_t timeout_ms) {
  std::unique_lock<std::mutex> hold(mutex_);
  return changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms), [this] { return set_; });
}
