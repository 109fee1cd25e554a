#include "platform/console_echo.h"

#include <windows.h>

namespace {

// One guard at a time. The handler runs on a thread of its own, so the
// mode is changed only under the lock; once the handler has given the mode
// back, the echo stays on.
SRWLOCK g_mode_lock = SRWLOCK_INIT;
HANDLE g_input = nullptr;
DWORD g_given_back = 0;
bool g_ending = false;  // guarded by g_mode_lock

void SetModeUnlessEnding(DWORD mode) {
  AcquireSRWLockExclusive(&g_mode_lock);
  if (!g_ending)
    SetConsoleMode(g_input, mode);
  ReleaseSRWLockExclusive(&g_mode_lock);
}

// Ctrl+C, Ctrl+Break, the console window closed, the user logged off.
BOOL WINAPI GiveBackAndEnd(DWORD /*control*/) {
  AcquireSRWLockExclusive(&g_mode_lock);
  g_ending = true;
  SetConsoleMode(g_input, g_given_back);
  ReleaseSRWLockExclusive(&g_mode_lock);
  // Not handled: the next handler, the system's at the last, ends the process.
  return FALSE;
}

}  // namespace

ScopedConsoleEchoOff::ScopedConsoleEchoOff() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD found;
  if (!GetConsoleMode(input, &found))
    return;
  active_ = true;
  g_input = input;
  g_given_back = found;
  g_ending = false;
  SetConsoleCtrlHandler(GiveBackAndEnd, TRUE);
  SetModeUnlessEnding(found & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
}

ScopedConsoleEchoOff::~ScopedConsoleEchoOff() {
  if (!active_)
    return;
  SetModeUnlessEnding(g_given_back);
  SetConsoleCtrlHandler(GiveBackAndEnd, FALSE);
}
