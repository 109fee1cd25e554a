// Another process running a part of this test program, for the cases that
// need processes at once or another user's rights: on POSIX a fork running a
// function, on Windows, which has no fork, this program again running one
// case alone. A child that still runs when its object goes is ended.
#ifndef WNCTL_TESTS_SUPPORT_CHILD_PROCESS_H_
#define WNCTL_TESTS_SUPPORT_CHILD_PROCESS_H_

#ifdef _WIN32
#include <string>
#else
#include <sys/types.h>

#include <functional>
#endif

#ifdef _WIN32
class ChildProcess {
 public:
  // This program, started suspended to run the case `test` (as
  // --gtest_filter names it) with `value` in the environment variable
  // `variable`; its output goes nowhere, its exit code tells.
  ChildProcess(const std::string& test, const std::string& variable, const std::string& value);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void Resume();
  // Once it has ended; -1 when it did not start.
  int ExitCode();

 private:
  void* process_ = nullptr;
  void* thread_ = nullptr;
};
#else
// Holds children back until it opens, so that they start together.
class StartGate {
 public:
  StartGate();
  ~StartGate() { Open(); }
  StartGate(const StartGate&) = delete;
  StartGate& operator=(const StartGate&) = delete;

  // In a child: waits until the parent opens the gate.
  void Wait();
  void Open();

 private:
  void CloseEnd(int end);
  int fds_[2];
};

class ChildProcess {
 public:
  // Runs `body` in a forked child, once `gate` (if any) opens; the child
  // ends with body's result.
  explicit ChildProcess(const std::function<int()>& body, StartGate* gate = nullptr);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Once it has ended; -1 when it did not start or did not exit.
  int ExitCode();

 private:
  pid_t pid_;
};

// The exit code of `body` run in a child, as ChildProcess gives it.
int RunInChild(const std::function<int()>& body);
#endif

#endif  // WNCTL_TESTS_SUPPORT_CHILD_PROCESS_H_
