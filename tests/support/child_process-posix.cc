#include "tests/support/child_process.h"

#include <errno.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

StartGate::StartGate() {
  if (pipe(fds_) != 0)
    fds_[0] = fds_[1] = -1;
}

void StartGate::Wait() {
  CloseEnd(1);
  char byte;
  while (fds_[0] >= 0 && read(fds_[0], &byte, 1) < 0 && errno == EINTR) {
  }
}

void StartGate::Open() {
  CloseEnd(0);
  CloseEnd(1);
}

void StartGate::CloseEnd(int end) {
  if (fds_[end] >= 0)
    close(fds_[end]);
  fds_[end] = -1;
}

ChildProcess::ChildProcess(const std::function<int()>& body, StartGate* gate) : pid_(fork()) {
  if (pid_ != 0)
    return;
  if (gate)
    gate->Wait();
  _exit(body());
}

ChildProcess::~ChildProcess() {
  if (pid_ <= 0)
    return;
  kill(pid_, SIGKILL);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

int ChildProcess::ExitCode() {
  if (pid_ <= 0)
    return -1;
  int status = 0;
  pid_t ended;
  while ((ended = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  if (ended < 0)
    return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunInChild(const std::function<int()>& body) { return ChildProcess(body).ExitCode(); }
