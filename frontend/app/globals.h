// The process-wide hand-over between the library's thread and the main
// thread.
#ifndef WNCTL_FRONTEND_APP_GLOBALS_H_
#define WNCTL_FRONTEND_APP_GLOBALS_H_

#include <mutex>

#include <json/value.h>

#include "platform/event.h"

// The library may call back on its own thread at any moment until the
// process has ended, static destruction included, so these three are made
// before main and never destroyed; at exit the event channel closes them
// under the lock instead (CloseLibraryEvents), and later events leave them
// alone.
extern std::mutex& g_commandResultLock;
extern ManualResetEvent& g_commandResultEvent;
extern Json::Value& g_lastCommandResult;  // guarded by g_commandResultLock

#endif  // WNCTL_FRONTEND_APP_GLOBALS_H_
