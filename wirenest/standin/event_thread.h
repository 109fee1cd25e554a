// The library's own thread: it hands queued answers to the caller by
// calling the registered callback once per drain, in the order they were
// queued, while the caller takes the drain's batches with NextBatch().
#ifndef WIRENEST_STANDIN_EVENT_THREAD_H_
#define WIRENEST_STANDIN_EVENT_THREAD_H_

#include <stdint.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "wirenest/standin/drain.h"

namespace standin {

using EventCallback = void (*)(void);

class EventThread {
 public:
  EventThread() = default;
  // Stops the thread, waiting for it; see Stop() for when it must not be.
  ~EventThread();
  EventThread(const EventThread&) = delete;
  EventThread& operator=(const EventThread&) = delete;

  void SetCallback(EventCallback callback);
  // Drains wait while there is no callback or the queue is off, as a real
  // library keeps its events until they can be handed out.
  void SetQueueEnabled(bool enabled);
  // The drains go out `delay_ms` after now, but never before the ones queued
  // earlier.
  void Deliver(std::vector<Drain> drains, uint32_t delay_ms);
  // The next batch of the drains handed out so far; false when there is none.
  bool NextBatch(std::string* batch);
  // Ends the thread once a callback in progress has returned. False when
  // that did not happen within `patience`, or when called from the thread
  // itself: the thread is then left running, this object must never be
  // destroyed, and every later Stop() is false too.
  bool Stop(std::chrono::milliseconds patience);

 private:
  struct Delivery {
    std::chrono::steady_clock::time_point due;
    std::deque<Drain> drains;
  };

  void Run();
  void Loop();
  bool ReadyToDeliver() const;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<Delivery> pending_;
  std::deque<std::string> batches_;
  EventCallback callback_ = nullptr;
  bool queue_enabled_ = false;
  bool stopping_ = false;
  bool running_ = false;
  bool abandoned_ = false;  // left running by Stop()
  std::thread worker_;
};

}  // namespace standin

#endif  // WIRENEST_STANDIN_EVENT_THREAD_H_
