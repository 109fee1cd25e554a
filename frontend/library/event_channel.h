// The channel through which the library's thread hands the answer to a
// request over to the main thread.
#ifndef WNCTL_FRONTEND_LIBRARY_EVENT_CHANNEL_H_
#define WNCTL_FRONTEND_LIBRARY_EVENT_CHANNEL_H_

#include <stdint.h>

#include <json/value.h>

#include "wirenestdk.h"

// Registers the callback and switches the library's event queue on; also
// arranges for the channel to be closed at exit.
bool EnableLibraryEvents();

// The callback: drains the library's queue on the library's thread.
void WN_CALL OnLibraryEvents();
// One batch, an array of events handed out together: handed over whole, as
// the answer it leaves, through HandleLibraryEvent. Anything but an array is
// ignored.
void HandleLibraryBatch(const Json::Value& events);
// One event object: a "command_result" is stored and the event set.
void HandleLibraryEvent(const Json::Value& event);

// Before a request: forget any earlier answer.
void PrepareForCommandResult();
// True when an answer has been handed over within the time-out.
bool WaitForCommandResult(uint32_t timeout_ms);
// A copy of the answer handed over (null when none).
Json::Value TakeCommandResult();

// At exit: no event is stored after this, the last answer is released, and
// a drain under way is given a moment to end.
void CloseLibraryEvents();

#endif  // WNCTL_FRONTEND_LIBRARY_EVENT_CHANNEL_H_
