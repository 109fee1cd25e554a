#include "tests/blackbox/program_runner.h"

#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
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

namespace {

std::string FromEnvironment(const char* name, const char* otherwise) {
  const char* value = getenv(name);
  return value && *value ? value : otherwise;
}

}  // namespace

std::string ProgramPath() { return FromEnvironment("WNCTL_TEST_PROGRAM", WNCTL_PROGRAM_PATH); }
std::string ProgramName() { return FromEnvironment("WNCTL_TEST_PROGRAM_NAME", WNCTL_PROGRAM_NAME); }
std::string LibraryName() { return FromEnvironment("WNCTL_TEST_LIBRARY_NAME", WNCTL_LIBRARY_NAME); }

bool ProgramIsForWindows() {
  const std::string name = ProgramName();
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0;
}

std::string WithPlainLineEnds(const std::string& raw, const char* stream) {
  if (!ProgramIsForWindows())
    return raw;
  std::string text;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
      continue;
    if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) {
      const size_t line_start = i == 0 ? 0 : raw.rfind('\n', i - 1) + 1;
      ADD_FAILURE() << stream << " has a line end without CR at byte " << i << ", in the line "
                    << testing::PrintToString(raw.substr(line_start, i + 1 - line_start));
    }
    text += raw[i];
  }
  return text;
}

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

bool ProgramIsSanitized() { return WNCTL_SANITIZERS[0] != '\0'; }

// A memory checker makes the program's own work many times slower; its
// waits for the library stay as they are.
int TimeScale() { return ProgramIsWrapped() ? 10 : 1; }

namespace {

// Soft and hard alike; none for 0.
void SetLimit(int resource, long value) {
  if (value <= 0)
    return;
  rlimit limit = {static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
  setrlimit(resource, &limit);
}

}  // namespace

void ExecProgram(const std::vector<std::string>& arguments, const std::string& program,
                 long address_space_limit) {
  std::vector<std::string> words;
  if (const char* wrapper = getenv("WNCTL_TEST_WRAPPER")) {
    std::istringstream split(wrapper);
    for (std::string word; split >> word;)
      words.push_back(word);
  }
  words.push_back(program);
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  // Set last: this copy of the tests may use more than the program may.
  SetLimit(RLIMIT_AS, address_space_limit);
  execvp(argv[0], argv.data());
  _exit(127);
}

void ExpectNoCheckerReport(int exit_code, const std::string& err) {
  if (ProgramIsWrapped() && exit_code == kCheckerExitCode)
    ADD_FAILURE() << "the checker found a fault:\n" << err;
}

namespace {

// True when `text` has a whole first line, which is all it then keeps.
bool KeepFirstLine(std::string* text) {
  size_t line_end = text->find('\n');
  if (line_end == std::string::npos)
    return false;
  text->erase(line_end + 1);
  return true;
}

// Reads both until the errors' pipe ends with the program, or the deadline
// passes (then the child is killed); with `first_line_only` the output is
// closed after its first line. -1 marks a closed side.
void CollectOutput(pid_t child, int* out_fd, int* err_fd, bool first_line_only, long long deadline,
                   ProgramResult* result) {
  char buffer[4096];
  while (*err_fd >= 0) {
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
      bool line_kept = i == 0 && first_line_only && KeepFirstLine(&text);
      if (n <= 0 || line_kept) {
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
void PrepareChild(const ProgramRun& run, const RunFiles& files) {
  if (files.scenario.empty())
    unsetenv("WIRENEST_SCENARIO");
  else
    setenv("WIRENEST_SCENARIO", files.scenario.c_str(), 1);
  // A scenario's world lives for one run unless the test names a file.
  if (files.scenario.empty() || !run.state_file.empty())
    setenv("WIRENEST_STATE", files.state.c_str(), 1);
  else
    unsetenv("WIRENEST_STATE");
  setenv("WIRENEST_CALL_LOG", files.log.c_str(), 1);
  for (const std::string& name : run.unset_environment)
    unsetenv(name.c_str());
  for (const auto& variable : run.environment)
    setenv(variable.first.c_str(), variable.second.c_str(), 1);
  // As a shell sets them: SIGXFSZ keeps its default action, which ends the
  // program unless it ignores the signal itself.
  SetLimit(RLIMIT_FSIZE, run.file_size_limit);
  SetLimit(RLIMIT_NPROC, run.process_limit);
  if (run.user &&
      (setgroups(0, nullptr) != 0 || setgid(*run.user) != 0 || setuid(*run.user) != 0)) {
    perror("cannot become the run's user");
    _exit(127);
  }
}

// Once the program has ended, all it wrote is there to be read without
// waiting (a terminal hands on what is still in its buffers as it is read).
void ReadWhatIsLeft(int* out_fd, bool first_line_only, ProgramResult* result) {
  if (*out_fd < 0)
    return;
  fcntl(*out_fd, F_SETFL, fcntl(*out_fd, F_GETFL) | O_NONBLOCK);
  char buffer[4096];
  for (ssize_t n; (n = read(*out_fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR);) {
    if (n > 0)
      result->out.append(buffer, static_cast<size_t>(n));
  }
  if (first_line_only)
    KeepFirstLine(&result->out);
  close(*out_fd);
  *out_fd = -1;
}

// The program and its library copied once into a folder any user can
// read, where the program finds the library beside it.
const std::string& ProgramForAnyUser() {
  static TempDir folder;
  static const std::string program = [] {
    const std::string built = ProgramPath();
    const std::string built_folder = built.substr(0, built.rfind('/') + 1);
    chmod(folder.path().c_str(), 0755);
    for (const std::string& name : {ProgramName(), LibraryName()}) {
      WriteFile(folder.File(name), ReadFile(built_folder + name));
      chmod(folder.File(name).c_str(), 0755);
    }
    return folder.File(ProgramName());
  }();
  return program;
}

// Where the program's standard output goes and where the test reads it.
struct OutputEnds {
  int program = -1;
  int reader = -1;
  std::string file;  // with ProgramOutput::kFile
};

// The smallest buffers: a long output is still being written when the
// reader goes, or before the reader comes.
bool MakeOutputEnds(const ProgramRun& run, const TempDir& dir, OutputEnds* ends) {
  int pair[2];
  switch (run.output) {
    case ProgramOutput::kFile:
      ends->file = dir.File("out.txt");
      ends->program = open(ends->file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      return ends->program >= 0;
    case ProgramOutput::kTerminalMaster: {
      if (openpty(&ends->program, &ends->reader, nullptr, nullptr, nullptr) != 0)
        return false;
      termios raw;
      tcgetattr(ends->reader, &raw);
      cfmakeraw(&raw);
      tcsetattr(ends->reader, TCSANOW, &raw);
      break;
    }
    case ProgramOutput::kSocket: {
      if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
        return false;
      int size = 4096;
      setsockopt(pair[0], SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
      setsockopt(pair[1], SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
      ends->program = pair[0];
      ends->reader = pair[1];
      break;
    }
    default:
      if (pipe(pair) != 0)
        return false;
      ends->program = pair[1];
      ends->reader = pair[0];
      if (run.output == ProgramOutput::kFirstLine || run.output == ProgramOutput::kLateReader)
        fcntl(ends->program, F_SETPIPE_SZ, 4096);
      break;
  }
  if (run.output == ProgramOutput::kReaderGone) {
    close(ends->reader);
    ends->reader = -1;
  }
  if (run.non_blocking_output || run.output == ProgramOutput::kLateReader ||
      run.output == ProgramOutput::kTerminalMaster || run.output == ProgramOutput::kSocket)
    fcntl(ends->program, F_SETFL, fcntl(ends->program, F_GETFL) | O_NONBLOCK);
  return true;
}

bool ReadLate(ProgramOutput output) {
  return output == ProgramOutput::kLateReader || output == ProgramOutput::kTerminalMaster ||
         output == ProgramOutput::kSocket;
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
  result->raw_out = result->out;
  result->raw_err = result->err;
  result->out = WithPlainLineEnds(result->raw_out, "standard output");
  result->err = WithPlainLineEnds(result->raw_err, "standard error");
  // Written in binary, with JSON's escapes: a CR in it is a fault, on Windows too.
  EXPECT_EQ(std::string::npos, ReadFile(log).find('\r')) << "the call log has a CR";
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
  if (run.user && chown(dir.path().c_str(), *run.user, *run.user) != 0)
    ADD_FAILURE() << "cannot give the run's folder to its user";
  const std::string program = run.user ? ProgramForAnyUser() : ProgramPath();

  int in_pipe[2], err_pipe[2];
  OutputEnds out;
  if (pipe(in_pipe) != 0 || pipe(err_pipe) != 0 || !MakeOutputEnds(run, dir, &out))
    return result;
  // The harness writes to pipes whose reader may have gone.
  signal(SIGPIPE, SIG_IGN);

  pid_t child = fork();
  if (child == 0) {
    // As a shell starts it: SIGPIPE and SIGXFSZ as the system has them.
    signal(SIGPIPE, SIG_DFL);
    signal(SIGXFSZ, SIG_DFL);
    dup2(run.write_only_input ? in_pipe[1] : in_pipe[0], 0);
    dup2(out.program, 1);
    dup2(err_pipe[1], 2);
    for (int fd : {in_pipe[0], in_pipe[1], out.program, out.reader, err_pipe[0], err_pipe[1]}) {
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
    PrepareChild(run, files);
    ExecProgram(arguments, program, run.address_space_limit);
  }
  close(err_pipe[1]);
  // Input that can only be written keeps a reader, as "0<&1 | cat" has.
  const int input_reader = run.write_only_input ? in_pipe[0] : -1;
  if (!run.write_only_input)
    close(in_pipe[0]);

  const std::string input = run.write_only_input ? "" : run.input;
  size_t written = 0;
  while (written < input.size()) {
    ssize_t n = write(in_pipe[1], input.data() + written, input.size() - written);
    if (n <= 0)
      break;
    written += static_cast<size_t>(n);
  }
  close(in_pipe[1]);
  // Long enough for the program to fill the buffer and find it full.
  if (ReadLate(run.output))
    usleep(300 * 1000 * TimeScale());

  // The program's end of the output stays open here, to be looked at once
  // the program has ended.
  long long deadline = Deadline(run);
  bool first_line = run.output == ProgramOutput::kFirstLine;
  CollectOutput(child, &out.reader, &err_pipe[0], first_line, deadline, &result);
  result.output_non_blocking_after = (fcntl(out.program, F_GETFL) & O_NONBLOCK) != 0;
  ReadWhatIsLeft(&out.reader, first_line, &result);
  if (!out.file.empty())
    result.out = ReadFile(out.file);
  for (int fd : {out.program, err_pipe[0], input_reader}) {
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
