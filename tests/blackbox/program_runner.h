// Runs the built program as a user would, against the stand-in library, and
// collects everything it leaves behind.
#ifndef WNCTL_TESTS_BLACKBOX_PROGRAM_RUNNER_H_
#define WNCTL_TESTS_BLACKBOX_PROGRAM_RUNNER_H_

#include <string>
#include <vector>

struct ProgramRun {
  // The stand-in's scenario, as JSON text; empty runs the demo world.
  std::string scenario;
  // Written to standard input, which is then closed.
  std::string input;
  // The stand-in's state file; empty gives a fresh one for this run only.
  std::string state_file;
  // Killed after this long: a hang fails the test instead of the suite.
  int timeout_ms = 30000;
};

struct ProgramResult {
  int exit_code = -1;  // -1 when killed or ended by a signal
  std::string out;
  std::string err;
  std::vector<std::string> calls;  // the call log, one line per call

  std::string CallLog() const;     // the lines joined, each ending in "\n"
  int CountCalls(const std::string& function) const;
};

ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const ProgramRun& run = ProgramRun());

// A fresh directory for one test, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The program's own file names in this build ("wnctl64", "libwirenestdk64.so").
std::string ProgramName();
std::string LibraryName();

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

#endif  // WNCTL_TESTS_BLACKBOX_PROGRAM_RUNNER_H_
