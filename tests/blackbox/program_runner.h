// Runs the built program as a user would, against the stand-in library, and
// collects everything it leaves behind.
#ifndef WNCTL_TESTS_BLACKBOX_PROGRAM_RUNNER_H_
#define WNCTL_TESTS_BLACKBOX_PROGRAM_RUNNER_H_

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/stand_in_scenario.h"

// What the program's standard output is.
enum class ProgramOutput {
  kPipe,        // a pipe read to its end
  kClosed,      // closed, as by ">&-"
  kFull,        // a device that is always full (/dev/full)
  kReaderGone,  // a pipe whose reader has gone before the program starts
  kFirstLine,   // a small pipe whose reader takes the first line and goes, as "| head -n 1"
  kLateReader,  // a small pipe that a parent left non-blocking, read only after a pause
  // Like kLateReader, the master side of a pseudo-terminal, read on the other
  // side.
  kTerminalMaster,
  kSocket,  // like kLateReader, a socket with a small buffer
  kFile,    // a regular file, read once the program has ended
};

struct ProgramRun {
  // The stand-in's scenario, as JSON text; empty runs the demo world.
  std::string scenario;
  // Written to standard input, which is then closed.
  std::string input;
  // The stand-in's state file; empty gives a fresh one for this run only.
  std::string state_file;
  ProgramOutput output = ProgramOutput::kPipe;
  // Killed after this long (times TimeScale()): a hang fails the test
  // instead of the suite.
  int timeout_ms = 30000;
  // Environment variables removed for the run, after the stand-in's are set.
  std::vector<std::string> unset_environment;
  // Not 0: no file can be written beyond this size.
  long file_size_limit = 0;
  // The output's description left non-blocking by the parent, whatever the
  // kind (kLateReader, kTerminalMaster and kSocket always are).
  bool non_blocking_output = false;
  // Standard input open only for writing, as "0<&1" gives it; `input` unused.
  bool write_only_input = false;
  // Set: the program runs as this user and group, with the run's folder
  // theirs (the test must run as root), from a copy of the program and its
  // library that any user can reach (the build's folder may be root's alone).
  std::optional<uid_t> user;
  // Not 0: the user may have no more processes and threads than this.
  long process_limit = 0;
  // Not 0: the program's address space may grow to this many bytes, no more.
  long address_space_limit = 0;
  // Environment variables set for the run, after the stand-in's.
  std::vector<std::pair<std::string, std::string>> environment;
};

struct ProgramResult {
  int exit_code = -1;  // -1 when killed or ended by a signal
  int signal = 0;      // the signal that ended the program, if one did
  std::string out;     // with ProgramOutput::kFirstLine, that line only
  std::string err;
  // As the program wrote them: a Windows program's lines end in CR LF, which
  // `out` and `err` have as "\n".
  std::string raw_out;
  std::string raw_err;
  std::vector<std::string> calls;  // the call log, one line per call
  // The output's description, once the program has ended, as the parent
  // finds it.
  bool output_non_blocking_after = false;

  std::string CallLog() const;  // the lines joined, each ending in "\n"
  // The same without the drains of the library's thread, whose last one
  // races with the program's exit.
  std::string MainThreadCalls() const;
  int CountCalls(const std::string& function) const;
};

ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const ProgramRun& run = ProgramRun());
// A run against `scenario`, otherwise as ProgramRun has it.
ProgramRun ScenarioRun(const StandInScenario& scenario);
// A monotonic clock in milliseconds, for deadlines.
long long NowMs();

// What a misuse of `command` prints after its error line: its help block.
std::string HelpBlock(const std::string& command);

// WNCTL_TEST_WRAPPER, when set, holds words put before the program, such as
// a memory checker. The wrapper is to end with kCheckerExitCode when it finds
// a fault (valgrind --error-exitcode=99): RunProgram then fails the test.
const int kCheckerExitCode = 99;
bool ProgramIsWrapped();
// Whether the program was built with sanitizers, whose runtimes start
// threads of their own.
bool ProgramIsSanitized();
// How much slower a wrapped program runs: tests multiply their waits by it.
int TimeScale();
// The program under test: WNCTL_TEST_PROGRAM, WNCTL_TEST_PROGRAM_NAME and
// WNCTL_TEST_LIBRARY_NAME name another build's (the Windows program, run
// through a WNCTL_TEST_WRAPPER such as "scripts/wine-run.sh win64"), or else
// this build's.
std::string ProgramPath();
// Its own file names ("wnctl64", "libwirenestdk64.so"; "wnctl64.exe",
// "wirenestdk64.dll").
std::string ProgramName();
std::string LibraryName();
// A program named *.exe, whose standard output and error are in text mode.
bool ProgramIsForWindows();

// In a child just forked: becomes the program with these arguments, after
// the wrapper's words, with its address space limited to that many bytes
// unless 0.
[[noreturn]] void ExecProgram(const std::vector<std::string>& arguments,
                              const std::string& program = ProgramPath(),
                              long address_space_limit = 0);
// Fails the test when the checker of a wrapped run reported a fault.
void ExpectNoCheckerReport(int exit_code, const std::string& err);
// A stream of the program as the tests read it: a Windows program's, whose
// every line is to end in CR LF (a failure otherwise), with "\n" line ends.
std::string WithPlainLineEnds(const std::string& raw, const char* stream);

#endif  // WNCTL_TESTS_BLACKBOX_PROGRAM_RUNNER_H_
