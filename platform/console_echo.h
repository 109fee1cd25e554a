// Typed characters not shown while a secret is read from the console.
#ifndef WNCTL_PLATFORM_CONSOLE_ECHO_H_
#define WNCTL_PLATFORM_CONSOLE_ECHO_H_

// While it lives, the echo of standard input is off, when standard input is
// a terminal or a console (otherwise it does nothing). It sets back the exact
// mode it found, also when the process is ended meanwhile: on POSIX by a
// signal, on Windows by Ctrl+C, Ctrl+Break or the console's closing.
// On POSIX, a signal that stops the process gives the mode back for the time
// it is stopped; on continuing, the mode found then is the one to give back,
// and the echo goes off again. Signals the process ignores or handles itself
// are left as they are.
class ScopedConsoleEchoOff {
 public:
  ScopedConsoleEchoOff();
  ~ScopedConsoleEchoOff();
  ScopedConsoleEchoOff(const ScopedConsoleEchoOff&) = delete;
  ScopedConsoleEchoOff& operator=(const ScopedConsoleEchoOff&) = delete;

 private:
  bool active_ = false;
};

#endif  // WNCTL_PLATFORM_CONSOLE_ECHO_H_
