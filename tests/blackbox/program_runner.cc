#include "tests/blackbox/program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

std::string ProgramResult::CallLog() const {
  std::string text;
  for (const std::string& line : calls)
    text += line + "\n";
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

TempDir::TempDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/wnctl-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()))
    path_ = buffer.data();
}

TempDir::~TempDir() {
  if (!path_.empty()) {
    std::string command = "rm -rf '" + path_ + "'";
    if (system(command.c_str()) != 0) {
    }
  }
}

std::string ProgramName() { return WNCTL_PROGRAM_NAME; }
std::string LibraryName() { return WNCTL_LIBRARY_NAME; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

namespace {

long long NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    lines.push_back(line);
  return lines;
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const ProgramRun& run) {
  ProgramResult result;
  TempDir dir;
  std::string scenario_path;
  if (!run.scenario.empty()) {
    scenario_path = dir.File("scenario.json");
    WriteFile(scenario_path, run.scenario);
  }
  std::string state_path = run.state_file.empty() ? dir.File("state.json") : run.state_file;
  std::string log_path = dir.File("calls.log");

  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0 || pipe(err_pipe) != 0)
    return result;

  pid_t child = fork();
  if (child == 0) {
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]})
      close(fd);
    if (scenario_path.empty())
      unsetenv("WIRENEST_SCENARIO");
    else
      setenv("WIRENEST_SCENARIO", scenario_path.c_str(), 1);
    // A scenario's world lives for one run unless the test names a file.
    if (scenario_path.empty() || !run.state_file.empty())
      setenv("WIRENEST_STATE", state_path.c_str(), 1);
    else
      unsetenv("WIRENEST_STATE");
    setenv("WIRENEST_CALL_LOG", log_path.c_str(), 1);
    // A checker such as valgrind may wrap the program: its words come first.
    std::vector<std::string> wrapper;
    if (const char* words = getenv("WNCTL_TEST_WRAPPER")) {
      std::istringstream split(words);
      for (std::string word; split >> word;)
        wrapper.push_back(word);
    }
    std::string program = WNCTL_PROGRAM_PATH;
    std::vector<char*> argv;
    for (std::string& word : wrapper)
      argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);

  signal(SIGPIPE, SIG_IGN);
  size_t written = 0;
  while (written < run.input.size()) {
    ssize_t n = write(in_pipe[1], run.input.data() + written, run.input.size() - written);
    if (n <= 0)
      break;
    written += static_cast<size_t>(n);
  }
  close(in_pipe[1]);

  long long deadline = NowMs() + run.timeout_ms;
  bool out_open = true, err_open = true;
  char buffer[4096];
  while (out_open || err_open) {
    pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    long long left = deadline - NowMs();
    if (left <= 0) {
      kill(child, SIGKILL);
      break;
    }
    if (poll(fds, 2, static_cast<int>(left)) <= 0)
      continue;
    for (int i = 0; i < 2; ++i) {
      bool& open = i == 0 ? out_open : err_open;
      if (!open || !(fds[i].revents & (POLLIN | POLLHUP)))
        continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0)
        open = false;
      else
        (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
    }
  }
  close(out_pipe[0]);
  close(err_pipe[0]);

  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (NowMs() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    usleep(1000);
  }
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.calls = SplitLines(ReadFile(log_path));
  return result;
}
