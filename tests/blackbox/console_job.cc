#include "tests/blackbox/console_job.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/blackbox/program_runner.h"
#include "tests/blackbox/terminal_job.h"

namespace {

bool IsFinalByteOfControlSequence(char c) { return c >= 0x40 && c <= 0x7e; }

}  // namespace

ConsoleJob::ConsoleJob(const std::vector<std::string>& command, const std::string& scenario) {
  deadline_ = NowMs() + 20000LL * TimeScale();
  WriteFile(dir_.File("scenario.json"), scenario);
  int slave = -1;
  if (openpty(&master_, &slave, nullptr, nullptr, nullptr) != 0) {
    ADD_FAILURE() << "no terminal: " << strerror(errno);
    return;
  }
  tcgetattr(slave, &initial_mode_);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  program_ = fork();
  if (program_ == 0) {
    setsid();
    ioctl(slave, TIOCSCTTY, 0);
    signal(SIGPIPE, SIG_DFL);
    dup2(slave, 0);
    dup2(slave, 1);
    close(slave);
    close(master_);
    ExecJobProgram(dir_, std::vector<std::string>(command.begin() + 1, command.end()), command[0]);
  }
  // The terminal ends once no program has it open.
  close(slave);
}

ConsoleJob::~ConsoleJob() {
  if (program_ > 0 && !ended_) {
    kill(-program_, SIGKILL);
    waitpid(program_, nullptr, 0);
  }
  if (master_ >= 0)
    close(master_);
}

bool ConsoleJob::ReadTerminal() {
  long long left = deadline_ - NowMs();
  if (master_ < 0 || left <= 0)
    return false;
  pollfd entry = {master_, POLLIN, 0};
  if (poll(&entry, 1, static_cast<int>(left)) <= 0)
    return true;
  char buffer[4096];
  ssize_t n = read(master_, buffer, sizeof buffer);
  if (n > 0)
    drawn_.append(buffer, static_cast<size_t>(n));
  return n > 0 || (n < 0 && (errno == EAGAIN || errno == EINTR));
}

bool ConsoleJob::WaitUntilShown(const std::string& text) {
  while (Shown().find(text) == std::string::npos) {
    if (!ReadTerminal())
      return false;
  }
  return true;
}

bool ConsoleJob::WaitUntilConsoleReads() {
  const timespec pause = {0, 1000000};
  while (Mode().c_lflag & ECHO) {
    if (NowMs() >= deadline_)
      return false;
    nanosleep(&pause, nullptr);
  }
  return true;
}

bool ConsoleJob::Type(const std::string& keys) {
  return write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

bool ConsoleJob::WaitForEnd() {
  while (ReadTerminal()) {
  }
  int status = 0;
  while (program_ > 0 && !ended_ && waitpid(program_, &status, WNOHANG) == 0) {
    if (NowMs() > deadline_) {
      ADD_FAILURE() << "the program hangs; the terminal shows: " << Shown();
      kill(-program_, SIGKILL);
      waitpid(program_, &status, 0);
      break;
    }
    usleep(1000);
  }
  ended_ = true;
  exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  ExpectNoCheckerReport(exit_code_, Err());
  return NowMs() <= deadline_;
}

std::string ConsoleJob::Shown() const {
  std::string shown;
  for (size_t i = 0; i < drawn_.size(); ++i) {
    const char c = drawn_[i];
    if (c == '\r')
      continue;
    if (c != '\x1b' || i + 1 == drawn_.size()) {
      shown += c;
      continue;
    }
    const char kind = drawn_[++i];
    if (kind == '[') {
      size_t end = i + 1;
      while (end < drawn_.size() && !IsFinalByteOfControlSequence(drawn_[end]))
        ++end;
      if (end < drawn_.size() && drawn_[end] == 'C') {
        const int count = atoi(drawn_.substr(i + 1, end - i - 1).c_str());
        shown.append(count > 0 ? static_cast<size_t>(count) : 1, ' ');
      }
      i = end;
    } else if (kind == ']') {
      // A title, ended by BEL.
      const size_t end = drawn_.find('\x07', i);
      i = end == std::string::npos ? drawn_.size() : end;
    }
  }
  return shown;
}

termios ConsoleJob::Mode() const {
  termios mode = {};
  tcgetattr(master_, &mode);
  return mode;
}

std::string ConsoleJob::Err() const {
  return WithPlainLineEnds(ReadFile(dir_.File("stderr")), "standard error");
}

std::string WindowsPath(const std::string& path) {
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/')
      c = '\\';
  }
  return windows;
}

std::string ConsoleParent() {
  const char* parent = getenv("WNCTL_TEST_CONSOLE_PARENT");
  return parent && access(parent, F_OK) == 0 ? parent : "";
}
