// A Windows program run under Wine with a pseudo-terminal for both its
// standard input and output, in a session of its own whose terminal that is.
// There Wine gives the program a console, which Wine's console host draws on
// the terminal with escape sequences, the typing it echoes too.
#ifndef WNCTL_TESTS_BLACKBOX_CONSOLE_JOB_H_
#define WNCTL_TESTS_BLACKBOX_CONSOLE_JOB_H_

#include <sys/types.h>
#include <termios.h>

#include <string>
#include <vector>

#include "tests/support/test_files.h"

class ConsoleJob {
 public:
  // `command` is a Windows program and its arguments, after the wrapper's
  // words.
  ConsoleJob(const std::vector<std::string>& command, const std::string& scenario);
  ~ConsoleJob();
  ConsoleJob(const ConsoleJob&) = delete;
  ConsoleJob& operator=(const ConsoleJob&) = delete;

  // Reads the terminal until Shown() holds `text`; false when the terminal
  // ends or the deadline passes first.
  bool WaitUntilShown(const std::string& text);
  // Waits until Wine's console host has the terminal, which it takes (with
  // the echo off) at the first read of the console: until then the terminal
  // itself echoes what is typed. False at the deadline.
  bool WaitUntilConsoleReads();
  bool Type(const std::string& keys);
  // Reads the terminal until every program on it has gone, and waits for
  // the program; false at the deadline, when it is killed.
  bool WaitForEnd();

  // What the terminal shows: the escape sequences' text without them, a
  // move of the cursor to the right as the blanks it passes, no CR.
  std::string Shown() const;
  int exit_code() const { return exit_code_; }
  // The terminal's mode before the program started, and now.
  const termios& initial_mode() const { return initial_mode_; }
  termios Mode() const;

  std::string CallLog() const { return ReadFile(dir_.File("calls.log")); }
  std::string Err() const;

 private:
  // False once no program has the terminal open, or at the deadline.
  bool ReadTerminal();

  TempDir dir_;
  int master_ = -1;
  pid_t program_ = -1;
  bool ended_ = false;
  int exit_code_ = -1;
  long long deadline_ = 0;
  termios initial_mode_ = {};
  std::string drawn_;
};

// The path of a file of this system as a Windows program under Wine names
// it, on Wine's drive Z: of the root.
std::string WindowsPath(const std::string& path);

// The Windows build's console_parent.exe (WNCTL_TEST_CONSOLE_PARENT), which
// runs a command at its console and then prints how it ended and whether the
// console echoes; empty when it names none.
std::string ConsoleParent();

#endif  // WNCTL_TESTS_BLACKBOX_CONSOLE_JOB_H_
