#include "tests/blackbox/program_runner.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

std::string ProgramResult::CallLog() const {
  std::string text;
  for (const std::string& line : calls)
    text += line + "\n";
  return text;
}

std::string ProgramResult::MainThreadCalls() const {
  std::string text;
  for (const std::string& line : calls) {
    if (line.rfind("[\"WN_GetEvents\"", 0) != 0)
      text += line + "\n";
  }
  return text;
}

int ProgramResult::CountCalls(const std::string& function) const {
  int count = 0;
  std::string prefix = "[\"" + function + "\"";
  for (const std::string& line : calls) {
    if (line.compare(0, prefix.size(), prefix) == 0)
      ++count;
  }
  return count;
}

std::string ProgramName() { return WNCTL_PROGRAM_NAME; }
std::string LibraryName() { return WNCTL_LIBRARY_NAME; }

long long NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

std::string HelpBlock(const std::string& command) { return RunProgram({"help", command}).out; }

bool ProgramIsWrapped() {
  const char* words = getenv("WNCTL_TEST_WRAPPER");
  return words && words[strspn(words, " \t")] != '\0';
}

// A memory checker makes the program's own work many times slower; its
// waits for the library stay as they are.
int TimeScale() { return ProgramIsWrapped() ? 10 : 1; }

void ExecProgram(const std::vector<std::string>& arguments) {
  std::vector<std::string> words;
  if (const char* wrapper = getenv("WNCTL_TEST_WRAPPER")) {
    std::istringstream split(wrapper);
    for (std::string word; split >> word;)
      words.push_back(word);
  }
  words.push_back(WNCTL_PROGRAM_PATH);
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

void ExpectNoCheckerReport(int exit_code, const std::string& err) {
  if (ProgramIsWrapped() && exit_code == kCheckerExitCode)
    ADD_FAILURE() << "the checker found a fault:\n" << err;
}

namespace {

// Reads both pipes until they end, or the deadline passes (then the child is
// killed); with `first_line_only` the output's pipe is closed after its first
// line. -1 marks a closed pipe.
void CollectOutput(pid_t child, int* out_fd, int* err_fd, bool first_line_only, long long deadline,
                   ProgramResult* result) {
  char buffer[4096];
  while (*out_fd >= 0 || *err_fd >= 0) {
    pollfd fds[2] = {{*out_fd, POLLIN, 0}, {*err_fd, POLLIN, 0}};
    long long left = deadline - NowMs();
    if (left <= 0) {
      kill(child, SIGKILL);
      return;
    }
    if (poll(fds, 2, static_cast<int>(left)) <= 0)
      continue;
    for (int i = 0; i < 2; ++i) {
      int* fd = i == 0 ? out_fd : err_fd;
      if (*fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
        continue;
      ssize_t n = read(*fd, buffer, sizeof buffer);
      std::string& text = i == 0 ? result->out : result->err;
      if (n > 0)
        text.append(buffer, static_cast<size_t>(n));
      size_t line_end = i == 0 && first_line_only ? text.find('\n') : std::string::npos;
      if (line_end != std::string::npos)
        text.erase(line_end + 1);
      if (n <= 0 || line_end != std::string::npos) {
        close(*fd);
        *fd = -1;
      }
    }
  }
}

// The files of one run, in `dir`: the scenario written, if there is one.
struct RunFiles {
  RunFiles(const TempDir& dir, const ProgramRun& run)
      : scenario(run.scenario.empty() ? "" : dir.File("scenario.json")),
        state(run.state_file.empty() ? dir.File("state.json") : run.state_file),
        log(dir.File("calls.log")) {
    if (!scenario.empty())
      WriteFile(scenario, run.scenario);
  }
  std::string scenario, state, log;
};

// In the child: the stand-in's environment and the limits the test asks for.
void PrepareChild(const ProgramRun& run, const RunFiles& files, const std::string& log) {
  if (files.scenario.empty())
    unsetenv("WIRENEST_SCENARIO");
  else
    setenv("WIRENEST_SCENARIO", files.scenario.c_str(), 1);
  // A scenario's world lives for one run unless the test names a file.
  if (files.scenario.empty() || !run.state_file.empty())
    setenv("WIRENEST_STATE", files.state.c_str(), 1);
  else
    unsetenv("WIRENEST_STATE");
  setenv("WIRENEST_CALL_LOG", log.c_str(), 1);
  for (const std::string& name : run.unset_environment)
    unsetenv(name.c_str());
  if (run.file_size_limit > 0) {
    // A write beyond the limit then fails as on a full disk.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit = {static_cast<rlim_t>(run.file_size_limit),
                    static_cast<rlim_t>(run.file_size_limit)};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
}

// The child's wait status; killed once the deadline has passed.
int WaitForChild(pid_t child, long long deadline) {
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (NowMs() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    usleep(1000);
  }
  return status;
}

void FinishResult(int status, const std::string& log, ProgramResult* result) {
  result->exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result->signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  result->calls = ReadLines(log);
  ExpectNoCheckerReport(result->exit_code, result->err);
}

long long Deadline(const ProgramRun& run) {
  return NowMs() + static_cast<long long>(run.timeout_ms) * TimeScale();
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& arguments, const ProgramRun& run) {
  ProgramResult result;
  TempDir dir;
  RunFiles files(dir, run);

  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0 || pipe(err_pipe) != 0)
    return result;
  // The harness writes to pipes whose reader may have gone.
  signal(SIGPIPE, SIG_IGN);
  if (run.output == ProgramOutput::kReaderGone) {
    close(out_pipe[0]);
    out_pipe[0] = -1;
  }
  // The smallest pipe: a long output is still being written when the
  // reader goes.
  if (run.output == ProgramOutput::kFirstLine || run.output == ProgramOutput::kLateReader)
    fcntl(out_pipe[1], F_SETPIPE_SZ, 4096);
  if (run.output == ProgramOutput::kLateReader)
    fcntl(out_pipe[1], F_SETFL, fcntl(out_pipe[1], F_GETFL) | O_NONBLOCK);

  pid_t child = fork();
  if (child == 0) {
    // As a shell starts it: SIGPIPE as the system has it.
    signal(SIGPIPE, SIG_DFL);
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) {
      if (fd >= 0)
        close(fd);
    }
    if (run.output == ProgramOutput::kClosed)
      close(1);
    if (run.output == ProgramOutput::kFull) {
      int full = open("/dev/full", O_WRONLY);
      dup2(full, 1);
      close(full);
    }
    PrepareChild(run, files, files.log);
    ExecProgram(arguments);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);

  size_t written = 0;
  while (written < run.input.size()) {
    ssize_t n = write(in_pipe[1], run.input.data() + written, run.input.size() - written);
    if (n <= 0)
      break;
    written += static_cast<size_t>(n);
  }
  close(in_pipe[1]);
  // Long enough for the program to fill the pipe and find it full.
  if (run.output == ProgramOutput::kLateReader)
    usleep(300 * 1000 * TimeScale());

  long long deadline = Deadline(run);
  CollectOutput(child, &out_pipe[0], &err_pipe[0], run.output == ProgramOutput::kFirstLine,
                deadline, &result);
  for (int fd : {out_pipe[0], err_pipe[0]}) {
    if (fd >= 0)
      close(fd);
  }
  FinishResult(WaitForChild(child, deadline), files.log, &result);
  return result;
}

ProgramRun ScenarioRun(const StandInScenario& scenario) {
  ProgramRun run;
  run.scenario = scenario.Text();
  return run;
}

std::vector<ProgramResult> RunProgramsAtOnce(
    const std::vector<std::vector<std::string>>& argument_lists, const ProgramRun& run) {
  TempDir dir;
  RunFiles files(dir, run);
  auto file = [&dir](const char* kind, size_t index) {
    return dir.File(kind + std::to_string(index));
  };
  // Each child waits for the end of this pipe, so that all start together.
  int gate[2];
  if (pipe(gate) != 0)
    return {};
  std::vector<pid_t> children;
  for (size_t i = 0; i < argument_lists.size(); ++i) {
    pid_t child = fork();
    if (child == 0) {
      close(gate[1]);
      char byte;
      while (read(gate[0], &byte, 1) < 0 && errno == EINTR) {
      }
      close(gate[0]);
      int in = open("/dev/null", O_RDONLY);
      int out = open(file("out-", i).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      int err = open(file("err-", i).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(in, 0);
      dup2(out, 1);
      dup2(err, 2);
      for (int fd : {in, out, err})
        close(fd);
      PrepareChild(run, files, file("calls-", i));
      ExecProgram(argument_lists[i]);
    }
    children.push_back(child);
  }
  close(gate[0]);
  close(gate[1]);

  long long deadline = Deadline(run);
  std::vector<ProgramResult> results(children.size());
  for (size_t i = 0; i < children.size(); ++i) {
    if (children[i] < 0) {
      ADD_FAILURE() << "cannot start run " << i;
      continue;
    }
    int status = WaitForChild(children[i], deadline);
    results[i].out = ReadFile(file("out-", i));
    results[i].err = ReadFile(file("err-", i));
    FinishResult(status, file("calls-", i), &results[i]);
  }
  return results;
}
