// The program run on a pseudo-terminal as a shell runs a job: standard input
// is the terminal, its process group of its own has the terminal, and its
// parent leads the session. Signals from the keyboard reach it, and stop
// signals stop it (in an orphaned process group they would be dropped).
// When it stops, its parent takes the terminal back, as a shell does, until
// told how the job goes on.
#ifndef WNCTL_TESTS_BLACKBOX_TERMINAL_JOB_H_
#define WNCTL_TESTS_BLACKBOX_TERMINAL_JOB_H_

#include <sys/types.h>
#include <termios.h>

#include <string>
#include <vector>

#include "tests/blackbox/program_runner.h"
#include "tests/support/test_files.h"

struct TerminalJobSetup {
  std::vector<std::string> arguments;
  std::string scenario;
  // Ignored when the program starts, as a shell leaves some for its jobs.
  std::vector<int> ignored_signals;
};

class TerminalJob {
 public:
  explicit TerminalJob(const TerminalJobSetup& setup);
  ~TerminalJob();
  TerminalJob(const TerminalJob&) = delete;
  TerminalJob& operator=(const TerminalJob&) = delete;

  // Reads the standard output until it holds `text`; false when it ends or
  // the deadline passes first.
  bool WaitForOutput(const std::string& text);
  // Reads the standard output to its end and waits for the program to end;
  // kills one that hangs.
  void WaitForEnd();
  // With plain line ends (see WithPlainLineEnds).
  std::string out() const;

  // Waits until the program waits for its standard input; false at the
  // deadline.
  bool WaitUntilReadingInput();
  bool Type(const std::string& keys);
  void Signal(int signal_number);
  // Lets the stopped program go on, as "fg" or "bg" does.
  enum class Place { kForeground, kBackground };
  void Continue(Place place);
  // The next change of the program's state (stopped, continued, ended) as
  // waitpid gives it; false at the deadline.
  bool NextStatus(int* status);
  // The exit code once ended, or -1; the ending signal, or 0.
  int exit_code() const { return exit_code_; }
  int ending_signal() const { return ending_signal_; }

  // A mode of its own, set before the program starts: only an exact restore
  // gives it back.
  const termios& initial_mode() const { return initial_mode_; }
  termios Mode() const;
  void SetMode(const termios& mode);
  // Waits until the terminal's mode is `mode` (with SameMode); false at the
  // deadline.
  bool WaitForMode(const termios& mode);
  // What the terminal has shown of the typing so far.
  std::string Echoed();

  std::string CallLog() const { return ReadFile(dir_.File("calls.log")); }
  // Standard error, without an emulator's own note of the signal that ended
  // the program.
  std::string Err() const;

 private:
  enum class Reading { kMore, kEnded, kLate };
  Reading ReadOutput();

  TempDir dir_;
  int master_ = -1;
  int slave_ = -1;
  int out_pipe_ = -1;
  int status_pipe_ = -1;
  int command_pipe_ = -1;
  pid_t leader_ = -1;
  pid_t program_ = -1;
  bool ended_ = false;
  int exit_code_ = -1;
  int ending_signal_ = 0;
  long long deadline_ = 0;
  termios initial_mode_ = {};
  std::string out_;
};

// In a job's child just forked, its standard input and output in place:
// standard error to `dir`'s file "stderr", the stand-in's scenario and call
// log those of `dir` too, and then the program.
[[noreturn]] void ExecJobProgram(const TempDir& dir, const std::vector<std::string>& arguments,
                                 const std::string& program = ProgramPath());

// The whole mode, as tcgetattr gives it.
bool SameMode(const termios& a, const termios& b);

#endif  // WNCTL_TESTS_BLACKBOX_TERMINAL_JOB_H_
