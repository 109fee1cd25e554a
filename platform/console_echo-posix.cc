#include "platform/console_echo.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

namespace {

const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
const int kEndingSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// Read by the signal handler; written only while the handlers are not in
// place. One guard at a time.
struct termios g_savedMode;
struct sigaction g_previousActions[kEndingSignalCount];
bool g_handled[kEndingSignalCount];

// Gives the terminal back, then lets the signal end the process as it would
// have (the handler was installed to reset itself and not to defer it).
void RestoreModeAndResignal(int signal_number) {
  tcsetattr(STDIN_FILENO, TCSANOW, &g_savedMode);
  raise(signal_number);
}

}  // namespace

ScopedConsoleEchoOff::ScopedConsoleEchoOff() {
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &g_savedMode) != 0)
    return;
  active_ = true;
  for (int i = 0; i < kEndingSignalCount; ++i) {
    g_handled[i] = false;
    if (sigaction(kEndingSignals[i], nullptr, &g_previousActions[i]) != 0)
      continue;
    // A signal the process ignores, or handles itself, is left as it is.
    if ((g_previousActions[i].sa_flags & SA_SIGINFO) ||
        g_previousActions[i].sa_handler != SIG_DFL)
      continue;
    struct sigaction action = {};
    action.sa_handler = RestoreModeAndResignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    g_handled[i] = sigaction(kEndingSignals[i], &action, nullptr) == 0;
  }
  struct termios silent = g_savedMode;
  silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  tcsetattr(STDIN_FILENO, TCSANOW, &silent);
}

ScopedConsoleEchoOff::~ScopedConsoleEchoOff() {
  if (!active_)
    return;
  // The mode first: a signal that comes before the handlers are gone only
  // sets it once more.
  tcsetattr(STDIN_FILENO, TCSANOW, &g_savedMode);
  for (int i = 0; i < kEndingSignalCount; ++i) {
    if (g_handled[i])
      sigaction(kEndingSignals[i], &g_previousActions[i], nullptr);
  }
}
