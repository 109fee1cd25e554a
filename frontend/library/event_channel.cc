#include "frontend/library/event_channel.h"

#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/library_interface.h"
#include "platform/console_output.h"
#include "platform/event.h"

namespace {

// The hand-over between the library's thread and the main thread. The library
// may call back on its own thread at any moment until the process has ended,
// static destruction included, so the lock is never destroyed. The answer
// event and the last answer are made before main, in this order, and unmade
// at exit in the reverse order, the event last; by then CloseLibraryEvents,
// registered at exit later than they were made, has closed the channel under
// the lock, and later events leave them alone.
std::mutex& g_commandResultLock = *new std::mutex;
ManualResetEvent g_commandResultEvent;
Json::Value g_lastCommandResult;  // guarded by g_commandResultLock

// How long the exit waits for a drain that is under way.
const int kExitDrainWaitMs = 1000;

// Guarded by g_commandResultLock; never destroyed, like the lock.
bool g_channelClosed = false;
int g_activeDrains = 0;
std::condition_variable& g_drainsEnded = *new std::condition_variable;

bool ChannelClosed() {
  std::lock_guard<std::mutex> hold(g_commandResultLock);
  return g_channelClosed;
}

// Counts one call of the callback, so that the exit can wait for it.
class DrainScope {
 public:
  DrainScope() {
    std::lock_guard<std::mutex> hold(g_commandResultLock);
    open_ = !g_channelClosed;
    if (open_)
      ++g_activeDrains;
  }
  ~DrainScope() {
    if (!open_)
      return;
    std::lock_guard<std::mutex> hold(g_commandResultLock);
    --g_activeDrains;
    g_drainsEnded.notify_all();
  }
  DrainScope(const DrainScope&) = delete;
  DrainScope& operator=(const DrainScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

void DrainLibraryEvents() {
  ScopedVariant batch;
  // The same value is handed back each time: the library replaces its content.
  while (!ChannelClosed() && WN_GetEvents(kUnusedRequestInt, batch.out()) != 0) {
    Json::Value events;
    if (!VariantToJson(batch.get(), &events)) {
      if (!ChannelClosed())
        PrintLine("ERROR: Can't parse json event");
      return;
    }
    HandleLibraryBatch(events);
  }
}

bool IsCommandResult(const Json::Value& event) {
  return JsonMemberText(event, "event") == "command_result";
}

}  // namespace

bool EnableLibraryEvents() {
  {
    std::lock_guard<std::mutex> hold(g_commandResultLock);
    g_lastCommandResult = Json::Value();
  }
  static bool close_at_exit = false;  // main thread only
  if (!close_at_exit)
    close_at_exit = atexit(CloseLibraryEvents) == 0;
  if (!WN_SetEventCallback(OnLibraryEvents))
    return false;
  return WN_EnableEventsQueue(1) != 0;
}

void WN_CALL OnLibraryEvents() {
  // Runs on the library's thread: nothing may be thrown back into it.
  try {
    DrainScope drain;
    if (drain.open())
      DrainLibraryEvents();
  } catch (...) {
  }
}

void HandleLibraryEvent(const Json::Value& event) {
  if (!IsCommandResult(event))
    return;
  Json::Value copy = event;  // made, and the old answer freed, outside the lock
  std::lock_guard<std::mutex> hold(g_commandResultLock);
  if (g_channelClosed)
    return;
  g_lastCommandResult.swap(copy);
  g_commandResultEvent.Set();
}

void HandleLibraryBatch(const Json::Value& events) {
  if (!events.isArray())
    return;
  // Each answer of the batch replaces the one before, so the batch leaves its
  // last; only that one is handed over, and the main thread never wakes to an
  // answer the rest of the batch replaces.
  const Json::Value* latest = nullptr;
  for (Json::ArrayIndex i = 0; i < events.size(); ++i) {
    if (events[i].isObject() && IsCommandResult(events[i]))
      latest = &events[i];
  }
  if (latest)
    HandleLibraryEvent(*latest);
}

void PrepareForCommandResult() {
  std::lock_guard<std::mutex> hold(g_commandResultLock);
  g_lastCommandResult = Json::Value();
  g_commandResultEvent.Reset();
}

bool WaitForCommandResult(uint32_t timeout_ms) { return g_commandResultEvent.Wait(timeout_ms); }

Json::Value TakeCommandResult() {
  std::lock_guard<std::mutex> hold(g_commandResultLock);
  return g_lastCommandResult;
}

void CloseLibraryEvents() {
  std::unique_lock<std::mutex> hold(g_commandResultLock);
  g_channelClosed = true;
  g_lastCommandResult = Json::Value();
  g_drainsEnded.wait_for(hold, std::chrono::milliseconds(kExitDrainWaitMs),
                         [] { return g_activeDrains == 0; });
}
