#include "wirenest/standin/event_thread.h"

#include <exception>

namespace standin {

EventThread::~EventThread() { Stop(std::chrono::hours(24)); }

void EventThread::SetCallback(EventCallback callback) {
  std::lock_guard<std::mutex> lock(mutex_);
  callback_ = callback;
  wake_.notify_all();
}

void EventThread::SetQueueEnabled(bool enabled) {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_enabled_ = enabled;
  wake_.notify_all();
}

void EventThread::Deliver(std::vector<Drain> drains, uint32_t delay_ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopping_ || drains.empty())
    return;
  Delivery delivery;
  delivery.due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay_ms);
  delivery.drains.assign(drains.begin(), drains.end());
  pending_.push_back(std::move(delivery));
  if (!worker_.joinable()) {
    try {
      worker_ = std::thread(&EventThread::Run, this);
      running_ = true;
    } catch (const std::exception&) {  // no thread, no deliveries
      pending_.clear();
    }
  }
  wake_.notify_all();
}

bool EventThread::NextBatch(std::string* batch) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (batches_.empty())
    return false;
  *batch = std::move(batches_.front());
  batches_.pop_front();
  return true;
}

bool EventThread::Stop(std::chrono::milliseconds patience) {
  std::unique_lock<std::mutex> lock(mutex_);
  stopping_ = true;
  wake_.notify_all();
  if (!worker_.joinable())
    return !abandoned_;
  bool on_worker = worker_.get_id() == std::this_thread::get_id();
  bool ended = !on_worker && finished_.wait_for(lock, patience, [this] { return !running_; });
  if (!ended) {
    worker_.detach();
    abandoned_ = true;
    return false;
  }
  std::thread worker = std::move(worker_);
  lock.unlock();
  worker.join();
  return true;
}

bool EventThread::ReadyToDeliver() const {
  return !pending_.empty() && callback_ && queue_enabled_;
}

void EventThread::Run() {
  try {
    Loop();
  } catch (...) {  // out of memory: deliveries end, the caller goes on
  }
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = false;
  finished_.notify_all();
}

void EventThread::Loop() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    if (!ReadyToDeliver()) {
      wake_.wait(lock);
      continue;
    }
    Delivery& next = pending_.front();
    if (std::chrono::steady_clock::now() < next.due) {
      wake_.wait_until(lock, next.due);
      continue;
    }
    Drain drain = std::move(next.drains.front());
    next.drains.pop_front();
    if (next.drains.empty())
      pending_.pop_front();
    for (std::string& batch : drain)
      batches_.push_back(std::move(batch));
    EventCallback callback = callback_;
    lock.unlock();
    try {
      callback();
    } catch (...) {  // a callback written in C++ must not end the thread
    }
    lock.lock();
  }
}

}  // namespace standin
