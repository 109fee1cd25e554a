#include "wirenest/standin/event_thread.h"

#include <exception>

#include <openssl/crypto.h>

namespace standin {

namespace {

// Ample for taking a short answer on the library's thread, where, short of
// memory, every allocation gets pages of its own.
const size_t kReserveBytes = 1 << 20;

}  // namespace

EventThread::EventThread() : reserve_(kReserveBytes) { reserve_.Take(); }

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

bool EventThread::Deliver(std::vector<Drain> drains, uint32_t delay_ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (drains.empty())
    return true;
  if (stopping_ || !Start(&deliverer_, &EventThread::DeliverLoop))
    return false;
  Fill(Queue(delay_ms, true), std::move(drains));
  return true;
}

bool EventThread::DeliverMade(DrainMaker make, uint32_t delay_ms, std::vector<Drain> if_thrown) {
  std::lock_guard<std::mutex> lock(mutex_);
  // A change carried out with no thread left to answer it would be made
  // again by a caller that retries.
  if (stopping_ || !Start(&maker_, &EventThread::MakeLoop) ||
      !Start(&deliverer_, &EventThread::DeliverLoop))
    return false;
  work_.push_back(Work{Queue(delay_ms, false), std::move(make), std::move(if_thrown)});
  wake_.notify_all();
  return true;
}

uint64_t EventThread::Queue(uint32_t delay_ms, bool made) {
  Delivery delivery;
  delivery.place = ++last_place_;
  delivery.made = made;
  delivery.due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay_ms);
  pending_.push_back(std::move(delivery));
  return last_place_;
}

// Under mutex_, with the deliverer started.
void EventThread::Fill(uint64_t place, std::vector<Drain> drains) {
  for (auto it = pending_.begin(); it != pending_.end(); ++it) {
    if (it->place != place)
      continue;
    if (drains.empty()) {
      pending_.erase(it);
    } else {
      it->drains = std::move(drains);
      it->made = true;
    }
    wake_.notify_all();
    return;
  }
}

// Under mutex_; false when no thread can be had.
bool EventThread::Start(std::thread* thread,
                        void (EventThread::*loop)(std::unique_lock<std::mutex>*)) {
  if (thread->joinable())
    return true;
  if (stopping_)
    return false;
  try {
    *thread = std::thread(&EventThread::Run, this, loop);
    ++running_;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool EventThread::NextBatch(std::string* batch) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (batches_.empty())
    return false;
  *batch = std::move(batches_.front());
  batches_.pop_front();
  return true;
}

bool EventThread::OnOwnThread() const {
  const std::thread::id self = std::this_thread::get_id();
  return deliverer_.get_id() == self || maker_.get_id() == self;
}

bool EventThread::Stop(std::chrono::milliseconds patience) {
  std::unique_lock<std::mutex> lock(mutex_);
  stopping_ = true;
  work_.clear();
  wake_.notify_all();
  if (!deliverer_.joinable() && !maker_.joinable())
    return !abandoned_;
  bool ended =
      !OnOwnThread() && finished_.wait_for(lock, patience, [this] { return running_ == 0; });
  if (!ended) {
    for (std::thread* thread : {&deliverer_, &maker_})
      if (thread->joinable())
        thread->detach();
    abandoned_ = true;
    return false;
  }
  std::thread deliverer = std::move(deliverer_), maker = std::move(maker_);
  lock.unlock();
  for (std::thread* thread : {&deliverer, &maker})
    if (thread->joinable())
      thread->join();
  return true;
}

bool EventThread::ReadyToDeliver() const {
  return !pending_.empty() && pending_.front().made && callback_ && queue_enabled_;
}

void EventThread::Run(void (EventThread::*loop)(std::unique_lock<std::mutex>*)) {
  std::unique_lock<std::mutex> lock(mutex_);
  try {
    (this->*loop)(&lock);
  } catch (...) {  // out of memory: the thread ends, the caller goes on
  }
  if (!lock.owns_lock())
    lock.lock();
  --running_;
  finished_.notify_all();
}

void EventThread::DeliverLoop(std::unique_lock<std::mutex>* lock) {
  while (!stopping_) {
    if (!ReadyToDeliver()) {
      wake_.wait(*lock);
      continue;
    }
    Delivery& next = pending_.front();
    if (std::chrono::steady_clock::now() < next.due) {
      wake_.wait_until(*lock, next.due);
      continue;
    }
    Drain drain = std::move(next.drains[next.handed]);
    if (++next.handed == next.drains.size())
      pending_.pop_front();
    reserve_.Release();
    for (std::string& batch : drain)
      batches_.push_back(std::move(batch));
    EventCallback callback = callback_;
    lock->unlock();
    try {
      callback();
    } catch (...) {  // a callback written in C++ must not end the thread
    }
    lock->lock();
  }
}

void EventThread::MakeLoop(std::unique_lock<std::mutex>* lock) {
  while (!stopping_) {
    if (work_.empty()) {
      wake_.wait(*lock);
      continue;
    }
    Work work = std::move(work_.front());
    work_.pop_front();
    reserve_.Take();
    lock->unlock();
    std::vector<Drain> drains;
    try {
      drains = work.make();
    } catch (...) {  // out of memory
      drains = std::move(work.if_thrown);
    }
    work.make = nullptr;
    // A key derivation leaves OpenSSL state for this thread, which OpenSSL
    // frees only for a thread that ends before its own clean-up at exit;
    // this one ends after it.
    OPENSSL_thread_stop();
    lock->lock();
    Fill(work.place, std::move(drains));
  }
}

}  // namespace standin
