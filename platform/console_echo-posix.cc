#include "platform/console_echo.h"

#include <errno.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>

namespace {

// The signals whose default action ends the process, but for the real-time
// ones (added at run time), and those whose default action stops it.
const int kEndingSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1, SIGSEGV,
    SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};
const int kStoppingSignals[] = {SIGTSTP, SIGTTIN, SIGTTOU};

// The mode to give back, and the silent one made from it. The SIGCONT
// handler fills the spare pair, then makes it the current one: a handler on
// another thread never reads a pair half written.
struct Modes {
  termios given_back;
  termios silent;
};
Modes g_modes[2];
std::atomic<int> g_current_modes{0};
static_assert(std::atomic<int>::is_always_lock_free, "read by signal handlers");

// Written only while no handler of ours is in place. One guard at a time.
struct sigaction g_previous_actions[NSIG];
struct sigaction g_our_actions[NSIG];
bool g_installed[NSIG];

Modes ModesFrom(const termios& found) {
  Modes modes;
  modes.given_back = found;
  modes.silent = found;
  modes.silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  return modes;
}

const Modes& CurrentModes() { return g_modes[g_current_modes.load()]; }

// The control flags are left out: a driver may adjust them as it sets them.
bool SameMode(const termios& a, const termios& b) {
  if (a.c_iflag != b.c_iflag || a.c_oflag != b.c_oflag || a.c_lflag != b.c_lflag)
    return false;
  for (size_t i = 0; i < sizeof a.c_cc; ++i) {
    if (a.c_cc[i] != b.c_cc[i])
      return false;
  }
  return true;
}

// The mode is ours to set only while our process group has the terminal:
// set from the background, it would change the shell's. A terminal that is
// not our controlling one has no job control, and is ours.
bool OwnsTerminal() {
  pid_t foreground = tcgetpgrp(STDIN_FILENO);
  return foreground == -1 || foreground == getpgrp();
}

void GiveModeBack() {
  if (OwnsTerminal())
    tcsetattr(STDIN_FILENO, TCSANOW, &CurrentModes().given_back);
}

void ChangeBlocking(int how, int signal_number) {
  sigset_t just_this;
  sigemptyset(&just_this);
  sigaddset(&just_this, signal_number);
  sigprocmask(how, &just_this, nullptr);
}

// Handlers are put in place only over the default action, so this is what
// the signal would have done without them.
void ActByDefault(int signal_number) {
  struct sigaction default_action = {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  ChangeBlocking(SIG_UNBLOCK, signal_number);
  raise(signal_number);
}

void GiveBackAndEnd(int signal_number) {
  int saved_errno = errno;
  GiveModeBack();
  ActByDefault(signal_number);
  errno = saved_errno;
}

void GiveBackAndStop(int signal_number) {
  int saved_errno = errno;
  GiveModeBack();
  ActByDefault(signal_number);
  // Continued. Blocked until this handler returns, the next stop signal
  // finds the handler back in place rather than stopping with the echo off.
  ChangeBlocking(SIG_BLOCK, signal_number);
  sigaction(signal_number, &g_our_actions[signal_number], nullptr);
  errno = saved_errno;
}

void SilenceAgain(int) {
  int saved_errno = errno;
  termios found;
  // A mode other than ours was set while the process was stopped (by us, or
  // by the shell): that is the one to give back from now on.
  if (OwnsTerminal() && tcgetattr(STDIN_FILENO, &found) == 0 &&
      !SameMode(found, CurrentModes().silent)) {
    int spare = 1 - g_current_modes.load();
    g_modes[spare] = ModesFrom(found);
    g_current_modes.store(spare);
    tcsetattr(STDIN_FILENO, TCSANOW, &g_modes[spare].silent);
  }
  errno = saved_errno;
}

struct Handling {
  void (*handler)(int);
  // The stop and continue handlers return into what the process was doing,
  // the blocking read of the secret most often: SA_RESTART lets it go on.
  int flags;
};
const Handling kEnding = {GiveBackAndEnd, 0};
const Handling kStopping = {GiveBackAndStop, SA_RESTART};
const Handling kContinuing = {SilenceAgain, SA_RESTART};

// Indexed by signal number; null for the signals left alone.
struct HandlingPlan {
  const Handling* of[NSIG] = {};
};

HandlingPlan MakeHandlingPlan() {
  HandlingPlan plan;
  for (int signal_number : kEndingSignals)
    plan.of[signal_number] = &kEnding;
  for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number)
    plan.of[signal_number] = &kEnding;
  for (int signal_number : kStoppingSignals)
    plan.of[signal_number] = &kStopping;
  plan.of[SIGCONT] = &kContinuing;
  return plan;
}

void PutPreviousActionBack(int signal_number) {
  if (g_installed[signal_number])
    sigaction(signal_number, &g_previous_actions[signal_number], nullptr);
  g_installed[signal_number] = false;
}

}  // namespace

ScopedConsoleEchoOff::ScopedConsoleEchoOff() {
  termios found;
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &found) != 0)
    return;
  active_ = true;
  g_modes[0] = ModesFrom(found);
  g_current_modes.store(0);

  const HandlingPlan plan = MakeHandlingPlan();
  // No handler of ours runs inside another: they share the modes.
  sigset_t ours;
  sigemptyset(&ours);
  for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
    if (plan.of[signal_number])
      sigaddset(&ours, signal_number);
  }
  for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
    g_installed[signal_number] = false;
    const Handling* handling = plan.of[signal_number];
    if (!handling || sigaction(signal_number, nullptr, &g_previous_actions[signal_number]) != 0)
      continue;
    // A signal the process ignores, or handles itself, is left as it is.
    const struct sigaction& previous = g_previous_actions[signal_number];
    if ((previous.sa_flags & SA_SIGINFO) || previous.sa_handler != SIG_DFL)
      continue;
    struct sigaction& action = g_our_actions[signal_number];
    action = {};
    action.sa_handler = handling->handler;
    action.sa_mask = ours;
    action.sa_flags = handling->flags;
    g_installed[signal_number] = sigaction(signal_number, &action, nullptr) == 0;
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &CurrentModes().silent);
}

ScopedConsoleEchoOff::~ScopedConsoleEchoOff() {
  if (!active_)
    return;
  // Once the mode is given back, nothing may turn the echo off again.
  PutPreviousActionBack(SIGCONT);
  for (int signal_number : kStoppingSignals)
    PutPreviousActionBack(signal_number);
  // The mode before the ending handlers go: a signal meanwhile only sets it
  // once more.
  GiveModeBack();
  for (int signal_number = 1; signal_number < NSIG; ++signal_number)
    PutPreviousActionBack(signal_number);
}
