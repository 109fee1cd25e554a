#include "platform/event.h"

#include <windows.h>

// Unnamed, manual reset, not set. A failed creation is kept as the null
// handle it gives.
ManualResetEvent::ManualResetEvent() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

ManualResetEvent::~ManualResetEvent() {
  if (handle_)
    CloseHandle(handle_);
}

void ManualResetEvent::Set() { SetEvent(handle_); }

void ManualResetEvent::Reset() { ResetEvent(handle_); }

bool ManualResetEvent::Wait(uint32_t timeout_ms) {
  return WaitForSingleObject(handle_, timeout_ms) == WAIT_OBJECT_0;
}
