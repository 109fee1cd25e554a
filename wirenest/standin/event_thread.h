// The library's own threads: one hands queued answers to the caller by
// calling the registered callback once per drain, in the order they were
// queued, while the caller takes the drain's batches with NextBatch(); the
// other does the work behind requests, one after another, each making the
// drains of its answer. Address space is kept back while the work runs and
// given up for the callback: a caller taking an answer made short of memory
// still has room.
#ifndef WIRENEST_STANDIN_EVENT_THREAD_H_
#define WIRENEST_STANDIN_EVENT_THREAD_H_

#include <stdint.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "wirenest/standin/drain.h"
#include "wirenest/standin/memory_reserve.h"
#include "wirenestdk.h"

namespace standin {

using EventCallback = WN_EventCallback;
using DrainMaker = std::function<std::vector<Drain>()>;

class EventThread {
 public:
  EventThread();
  // Stops the threads, waiting for them; see Stop() for when it must not be.
  ~EventThread();
  EventThread(const EventThread&) = delete;
  EventThread& operator=(const EventThread&) = delete;

  void SetCallback(EventCallback callback);
  // Drains wait while there is no callback or the queue is off, as a real
  // library keeps its events until they can be handed out.
  void SetQueueEnabled(bool enabled);
  // The drains go out `delay_ms` after now, but never before the ones queued
  // earlier. False, queueing nothing, when they cannot go out: the thread
  // that would deliver them cannot be had, or the threads are stopping.
  bool Deliver(std::vector<Drain> drains, uint32_t delay_ms);
  // As Deliver, with the drains that `make` gives when it has run on the
  // working thread, after the makers queued before it; when it throws (out
  // of memory), `if_thrown` go out instead, made beforehand so that nothing
  // needs allocating then. The drains queued after wait for them. Both
  // threads are made sure of first: false when either cannot be had, and
  // `make` never runs.
  bool DeliverMade(DrainMaker make, uint32_t delay_ms, std::vector<Drain> if_thrown = {});
  // The next batch of the drains handed out so far; false when there is none.
  bool NextBatch(std::string* batch);
  // Ends the threads once a callback or a maker in progress has returned;
  // makers not yet started are dropped. False when that did not happen
  // within `patience`, or when called from one of the threads: they are then
  // left running, this object must never be destroyed, and every later
  // Stop() is false too.
  bool Stop(std::chrono::milliseconds patience);

 private:
  struct Delivery {
    uint64_t place = 0;
    bool made = true;
    std::chrono::steady_clock::time_point due;
    // A vector, so that made drains move in without allocating.
    std::vector<Drain> drains;
    size_t handed = 0;  // drains handed out so far
  };
  struct Work {
    uint64_t place = 0;
    DrainMaker make;
    std::vector<Drain> if_thrown;
  };

  uint64_t Queue(uint32_t delay_ms, bool made);
  void Fill(uint64_t place, std::vector<Drain> drains);
  bool Start(std::thread* thread, void (EventThread::*loop)(std::unique_lock<std::mutex>*));
  void Run(void (EventThread::*loop)(std::unique_lock<std::mutex>*));
  void DeliverLoop(std::unique_lock<std::mutex>* lock);
  void MakeLoop(std::unique_lock<std::mutex>* lock);
  bool ReadyToDeliver() const;
  bool OnOwnThread() const;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<Delivery> pending_;
  std::deque<Work> work_;
  std::deque<std::string> batches_;
  uint64_t last_place_ = 0;
  EventCallback callback_ = nullptr;
  bool queue_enabled_ = false;
  bool stopping_ = false;
  int running_ = 0;         // threads not yet ended
  bool abandoned_ = false;  // left running by Stop()
  // Held from the start and again for each maker, given up for the callback.
  MemoryReserve reserve_;
  std::thread deliverer_;
  std::thread maker_;
};

}  // namespace standin

#endif  // WIRENEST_STANDIN_EVENT_THREAD_H_
