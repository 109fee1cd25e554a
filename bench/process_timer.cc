// Runs a program several times and measures each run as a whole process:
// wall time from before the fork to the reaped exit, and peak resident
// memory from the child's own resource usage.
//
//   process_timer [--runs N] [--sink null|pipe|FILE] [--trace LOG] -- PROGRAM ARGS...
//
// One line per run on standard output, tab-separated:
//   wall_us  maxrss_kb  exit_code  output_bytes  cpu_us
// (cpu_us: user and system time of the child, its threads included.) With
// --trace, WIRENEST_CALL_LOG is pointed at a file made afresh at that path,
// watched with inotify, and three columns follow: the times (us from the fork) at which the call
// log showed the first asynchronous request and the first WN_GetEvents, and at which the program
// printed the line "Success"; -1 for what never came.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

struct Options {
  int runs = 5;
  std::string sink = "null";  // "null", "pipe" or a file path
  std::string trace;          // the call log's path, or empty
  std::vector<char*> command;
};

struct RunResult {
  long long wall_us = 0;
  long maxrss_kb = 0;
  int exit_code = -1;
  long long output_bytes = 0;
  long long cpu_us = 0;
  long long request_us = -1;
  long long answer_us = -1;
  long long success_us = -1;
};

class ScopedFd {
 public:
  explicit ScopedFd(int fd = -1) : fd_(fd) {}
  ~ScopedFd() { Reset(); }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  int get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0)
      close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

long long NowUs() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  int i = 1;
  for (; i < argc; ++i) {
    std::string word = argv[i];
    if (word == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc)
      return false;
    if (word == "--runs")
      options->runs = atoi(argv[++i]);
    else if (word == "--sink")
      options->sink = argv[++i];
    else if (word == "--trace")
      options->trace = argv[++i];
    else
      return false;
  }
  for (; i < argc; ++i)
    options->command.push_back(argv[i]);
  options->command.push_back(nullptr);
  return options->runs > 0 && options->command.size() > 1;
}

// Splits what arrives on a descriptor into lines and stamps the first line
// that satisfies `wanted`.
class LineWatch {
 public:
  LineWatch(bool (*wanted)(const std::string&), long long* stamp)
      : wanted_(wanted), stamp_(stamp) {}
  void Feed(const char* data, size_t size, long long now_us) {
    for (size_t i = 0; i < size; ++i) {
      if (data[i] != '\n') {
        line_.push_back(data[i]);
        continue;
      }
      if (*stamp_ < 0 && wanted_(line_))
        *stamp_ = now_us;
      line_.clear();
    }
  }

 private:
  bool (*wanted_)(const std::string&);
  long long* stamp_;
  std::string line_;
};

bool IsSuccessLine(const std::string& line) { return line == "Success"; }
bool IsAsyncCall(const std::string& line) { return line.find("Async\"") != std::string::npos; }
bool IsEventsCall(const std::string& line) {
  return line.find("\"WN_GetEvents\"") != std::string::npos;
}

// The call log as it grows: a regular file (the library refuses any other),
// read on from where it was whenever inotify says it was written.
struct LogWatch {
  int log_fd = -1;
  int watch_fd = -1;
  // What was written since the last call; false when nothing was.
  bool ReadNew(char* buffer, size_t size, ssize_t* count) const {
    char events[4096];
    while (read(watch_fd, events, sizeof events) > 0) {
    }
    *count = read(log_fd, buffer, size);
    return *count > 0;
  }
};

// Reads the child's output pipe and the call log until the pipe ends.
void DrainOutputs(int output_fd, const LogWatch& log, long long start_us, RunResult* result) {
  const int log_fd = log.watch_fd;
  LineWatch success(IsSuccessLine, &result->success_us);
  LineWatch request(IsAsyncCall, &result->request_us);
  LineWatch answer(IsEventsCall, &result->answer_us);
  char buffer[65536];
  for (;;) {
    struct pollfd fds[2] = {{output_fd, POLLIN, 0}, {log_fd, POLLIN, 0}};
    int count = log_fd >= 0 ? 2 : 1;
    // Without a log to watch, read as a plain consumer such as cat does.
    if (count == 1) {
      fds[0].revents = POLLIN;
    } else if (poll(fds, count, -1) < 0) {
      if (errno == EINTR)
        continue;
      return;
    }
    long long now = NowUs() - start_us;
    ssize_t n = 0;
    while (count == 2 && (fds[1].revents & POLLIN) && log.ReadNew(buffer, sizeof buffer, &n)) {
      request.Feed(buffer, static_cast<size_t>(n), now);
      answer.Feed(buffer, static_cast<size_t>(n), now);
    }
    if (fds[0].revents & (POLLIN | POLLHUP)) {
      n = read(output_fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        return;
      result->output_bytes += n;
      if (count == 2)
        success.Feed(buffer, static_cast<size_t>(n), now);
    }
  }
}

// Lines left in the log by the library's thread after the last run ended.
void DiscardStaleLog(const LogWatch& log) {
  if (log.log_fd < 0)
    return;
  char buffer[65536];
  ssize_t n = 0;
  while (log.ReadNew(buffer, sizeof buffer, &n)) {
  }
}

int OpenSink(const std::string& sink) {
  if (sink == "null")
    return open("/dev/null", O_WRONLY | O_CLOEXEC);
  return open(sink.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

bool RunOnce(const Options& options, const LogWatch& log, RunResult* result) {
  const bool piped = options.sink == "pipe";
  int pipe_fds[2] = {-1, -1};
  if (piped && pipe2(pipe_fds, O_CLOEXEC) != 0)
    return false;
  ScopedFd read_end(pipe_fds[0]);
  ScopedFd write_end(piped ? pipe_fds[1] : OpenSink(options.sink));
  if (write_end.get() < 0)
    return false;

  DiscardStaleLog(log);
  long long start = NowUs();
  pid_t child = fork();
  if (child < 0)
    return false;
  if (child == 0) {
    if (dup2(write_end.get(), STDOUT_FILENO) < 0)
      _exit(127);
    execv(options.command[0], options.command.data());
    _exit(127);
  }
  write_end.Reset();
  if (piped)
    DrainOutputs(read_end.get(), log, start, result);
  int status = 0;
  struct rusage usage;
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR)
      return false;
  }
  result->wall_us = NowUs() - start;
  result->maxrss_kb = usage.ru_maxrss;
  result->cpu_us = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                   usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
  result->exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (!piped) {
    struct stat info;
    if (options.sink != "null" && stat(options.sink.c_str(), &info) == 0)
      result->output_bytes = info.st_size;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    fprintf(stderr,
            "usage: process_timer [--runs N] [--sink null|pipe|FILE] [--trace LOG] -- "
            "PROGRAM ARGS...\n");
    return 2;
  }
  ScopedFd log_fd, watch_fd;
  if (!options.trace.empty()) {
    if (options.sink != "pipe") {
      fprintf(stderr, "process_timer: --trace needs --sink pipe\n");
      return 2;
    }
    unlink(options.trace.c_str());
    ScopedFd made(open(options.trace.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    log_fd.Reset(open(options.trace.c_str(), O_RDONLY | O_CLOEXEC));
    watch_fd.Reset(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (made.get() < 0 || log_fd.get() < 0 || watch_fd.get() < 0 ||
        inotify_add_watch(watch_fd.get(), options.trace.c_str(), IN_MODIFY) < 0 ||
        setenv("WIRENEST_CALL_LOG", options.trace.c_str(), 1) != 0) {
      perror("process_timer: call log");
      return 1;
    }
  }
  signal(SIGPIPE, SIG_IGN);
  int failures = 0;
  for (int run = 0; run < options.runs; ++run) {
    RunResult result;
    LogWatch log;
    log.log_fd = log_fd.get();
    log.watch_fd = watch_fd.get();
    if (!RunOnce(options, log, &result)) {
      perror("process_timer: run");
      return 1;
    }
    if (result.exit_code != 0)
      ++failures;
    printf("%lld\t%ld\t%d\t%lld\t%lld", result.wall_us, result.maxrss_kb, result.exit_code,
           result.output_bytes, result.cpu_us);
    if (!options.trace.empty())
      printf("\t%lld\t%lld\t%lld", result.request_us, result.answer_us, result.success_us);
    printf("\n");
    fflush(stdout);
  }
  if (!options.trace.empty())
    unlink(options.trace.c_str());
  return failures ? 1 : 0;
}
