#include "tests/blackbox/terminal_job.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <sstream>

#include <gtest/gtest.h>

namespace {

// Waits until `fd` can be read; false at the deadline.
bool Readable(int fd, long long deadline) {
  for (;;) {
    long long left = deadline - NowMs();
    if (left <= 0)
      return false;
    pollfd entry = {fd, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(left)) > 0)
      return true;
  }
}

// In the program's process, just forked from the session leader.
[[noreturn]] void BecomeTheJob(const TerminalJobSetup& setup, const TempDir& dir, int terminal,
                               int out) {
  setpgid(0, 0);
  // Taken as a shell gives the terminal to a job in the foreground.
  signal(SIGTTOU, SIG_IGN);
  tcsetpgrp(terminal, getpgrp());
  for (int signal_number = 1; signal_number < NSIG; ++signal_number)
    signal(signal_number, SIG_DFL);
  for (int signal_number : setup.ignored_signals)
    signal(signal_number, SIG_IGN);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  // The signals that dump core leave no file behind.
  rlimit no_core = {0, 0};
  setrlimit(RLIMIT_CORE, &no_core);

  dup2(terminal, 0);
  dup2(out, 1);
  close(terminal);
  close(out);
  ExecJobProgram(dir, setup.arguments);
}

// The session leader's ends of the pipes to the test.
struct LeaderPipes {
  int report;   // the program's pid, then each change of its state
  int command;  // after each stop: 'f' to go on in the foreground, 'b' in the background
};

// In the session leader: starts the job and acts as a shell does with it
// until it ends.
[[noreturn]] void LeadTheSession(const TerminalJobSetup& setup, const TempDir& dir, int terminal,
                                 int out, LeaderPipes pipes) {
  setsid();
  ioctl(terminal, TIOCSCTTY, 0);
  pid_t program = fork();
  if (program == 0) {
    close(pipes.report);
    close(pipes.command);
    BecomeTheJob(setup, dir, terminal, out);
  }
  setpgid(program, program);
  close(out);
  // Sets the terminal's process group from the background.
  signal(SIGTTOU, SIG_IGN);
  int status = 0;
  bool told = write(pipes.report, &program, sizeof program) == sizeof program;
  while (told && waitpid(program, &status, WUNTRACED | WCONTINUED) == program) {
    told = write(pipes.report, &status, sizeof status) == sizeof status;
    if (WIFEXITED(status) || WIFSIGNALED(status))
      break;
    if (!WIFSTOPPED(status))
      continue;
    tcsetpgrp(terminal, getpgrp());
    char how;
    if (read(pipes.command, &how, 1) != 1)
      continue;
    if (how == 'f')
      tcsetpgrp(terminal, program);
    kill(-program, SIGCONT);
  }
  _exit(0);
}

}  // namespace

void ExecJobProgram(const TempDir& dir, const std::vector<std::string>& arguments,
                    const std::string& program) {
  int err = open(dir.File("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(err, 2);
  close(err);
  setenv("WIRENEST_SCENARIO", dir.File("scenario.json").c_str(), 1);
  unsetenv("WIRENEST_STATE");
  setenv("WIRENEST_CALL_LOG", dir.File("calls.log").c_str(), 1);
  ExecProgram(arguments, program);
}

bool SameMode(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

TerminalJob::TerminalJob(const TerminalJobSetup& setup) {
  deadline_ = NowMs() + 20000LL * TimeScale();
  WriteFile(dir_.File("scenario.json"), setup.scenario);
  int out_pipe[2] = {-1, -1}, status_pipe[2] = {-1, -1}, command_pipe[2] = {-1, -1};
  if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0 || pipe(out_pipe) != 0 ||
      pipe(status_pipe) != 0 || pipe(command_pipe) != 0) {
    ADD_FAILURE() << "no terminal or pipe: " << strerror(errno);
    for (int fd : {out_pipe[0], out_pipe[1], status_pipe[0], status_pipe[1], command_pipe[0]})
      if (fd >= 0)
        close(fd);
    return;
  }
  tcgetattr(slave_, &initial_mode_);
  initial_mode_.c_lflag &= ~static_cast<tcflag_t>(ECHOE);
  initial_mode_.c_cc[VERASE] = 0x08;
  tcsetattr(slave_, TCSANOW, &initial_mode_);
  tcgetattr(slave_, &initial_mode_);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  leader_ = fork();
  if (leader_ == 0) {
    close(master_);
    close(out_pipe[0]);
    close(status_pipe[0]);
    close(command_pipe[1]);
    LeadTheSession(setup, dir_, slave_, out_pipe[1], {status_pipe[1], command_pipe[0]});
  }
  close(out_pipe[1]);
  close(status_pipe[1]);
  close(command_pipe[0]);
  out_pipe_ = out_pipe[0];
  status_pipe_ = status_pipe[0];
  command_pipe_ = command_pipe[1];
  pid_t program = -1;
  if (leader_ > 0 && Readable(status_pipe_, deadline_) &&
      read(status_pipe_, &program, sizeof program) == sizeof program)
    program_ = program;
}

TerminalJob::~TerminalJob() {
  // A leader waiting for a word lets the killed job be waited for.
  if (command_pipe_ >= 0)
    close(command_pipe_);
  if (program_ > 0 && !ended_) {
    kill(program_, SIGKILL);
    int status;
    while (!ended_ && NextStatus(&status)) {
    }
  }
  if (leader_ > 0)
    waitpid(leader_, nullptr, 0);
  if (ended_)
    ExpectNoCheckerReport(exit_code_, Err());
  for (int fd : {master_, slave_, out_pipe_, status_pipe_}) {
    if (fd >= 0)
      close(fd);
  }
}

std::string TerminalJob::out() const { return WithPlainLineEnds(out_, "standard output"); }

std::string TerminalJob::Err() const {
  const std::string all = WithPlainLineEnds(ReadFile(dir_.File("stderr")), "standard error");
  if (!ProgramIsWrapped())
    return all;
  const std::string note = "qemu: uncaught target signal ";
  std::istringstream lines(all);
  std::string err;
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, note.size(), note) != 0)
      err += line + "\n";
  }
  return err;
}

TerminalJob::Reading TerminalJob::ReadOutput() {
  if (!Readable(out_pipe_, deadline_))
    return Reading::kLate;
  char buffer[512];
  ssize_t n = read(out_pipe_, buffer, sizeof buffer);
  if (n <= 0)
    return Reading::kEnded;
  out_.append(buffer, static_cast<size_t>(n));
  return Reading::kMore;
}

bool TerminalJob::WaitForOutput(const std::string& text) {
  while (out_.find(text) == std::string::npos) {
    if (ReadOutput() != Reading::kMore)
      return false;
  }
  return true;
}

void TerminalJob::WaitForEnd() {
  Reading reading;
  while ((reading = ReadOutput()) == Reading::kMore) {
  }
  if (reading == Reading::kLate) {
    ADD_FAILURE() << "the program hangs; its output so far: " << out_;
    kill(program_, SIGKILL);
  }
  int status;
  while (!ended_ && NextStatus(&status)) {
  }
}

namespace {

// The numbers of the calls a program waits for input in. A 32-bit program
// run natively shows i386 numbers; run under an emulator, the emulator's own
// x86-64 calls show.
struct InputWaitCalls {
  long read, poll, ppoll;
};
const InputWaitCalls kInputWaitCalls[] = {
    {0, 7, 271},    // x86-64
    {3, 168, 309},  // i386
};

// A read of standard input, or a poll of one descriptor.
bool IsWaitingForInput(long number, unsigned long first, unsigned long second) {
  for (const InputWaitCalls& calls : kInputWaitCalls) {
    if ((number == calls.read && first == STDIN_FILENO) ||
        ((number == calls.poll || number == calls.ppoll) && second == 1))
      return true;
  }
  return false;
}

}  // namespace

bool TerminalJob::WaitUntilReadingInput() {
  // The system call the main thread waits in, and its first arguments.
  const std::string path = "/proc/" + std::to_string(program_) + "/syscall";
  const timespec pause = {0, 1000000};
  for (;;) {
    long number = -1;
    unsigned long first = 1, second = 0;
    if (sscanf(ReadFile(path).c_str(), "%ld 0x%lx 0x%lx", &number, &first, &second) == 3 &&
        IsWaitingForInput(number, first, second))
      return true;
    if (NowMs() >= deadline_)
      return false;
    nanosleep(&pause, nullptr);
  }
}

bool TerminalJob::Type(const std::string& keys) {
  return write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

void TerminalJob::Continue(Place place) {
  char how = place == Place::kForeground ? 'f' : 'b';
  if (write(command_pipe_, &how, 1) != 1)
    ADD_FAILURE() << "the session leader has gone";
}

void TerminalJob::Signal(int signal_number) {
  if (program_ > 0 && !ended_)
    kill(program_, signal_number);
}

bool TerminalJob::NextStatus(int* status) {
  if (status_pipe_ < 0 || !Readable(status_pipe_, deadline_) ||
      read(status_pipe_, status, sizeof *status) != sizeof *status)
    return false;
  if (WIFEXITED(*status) || WIFSIGNALED(*status)) {
    ended_ = true;
    exit_code_ = WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    ending_signal_ = WIFSIGNALED(*status) ? WTERMSIG(*status) : 0;
  }
  return true;
}

termios TerminalJob::Mode() const {
  termios mode = {};
  tcgetattr(slave_, &mode);
  return mode;
}

void TerminalJob::SetMode(const termios& mode) { tcsetattr(slave_, TCSANOW, &mode); }

bool TerminalJob::WaitForMode(const termios& mode) {
  // The program sets the mode without a word: it is looked at until then.
  const timespec pause = {0, 1000000};
  while (!SameMode(Mode(), mode)) {
    if (NowMs() >= deadline_)
      return false;
    nanosleep(&pause, nullptr);
  }
  return true;
}

std::string TerminalJob::Echoed() {
  std::string echoed;
  char buffer[512];
  ssize_t n;
  while ((n = read(master_, buffer, sizeof buffer)) > 0)
    echoed.append(buffer, static_cast<size_t>(n));
  return echoed;
}
