#include "platform/program_entry.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "platform/blocking_output.h"

namespace {

// A closed standard stream is opened on /dev/null, so that no file opened
// later (by the library, say) takes its place and receives its text. True
// when standard output was closed.
bool OpenClosedStandardStreams() {
  bool output_closed = false;
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
      continue;
    output_closed = output_closed || fd == STDOUT_FILENO;
    int null = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
      dup2(null, fd);
      close(null);
    }
  }
  return output_closed;
}

}  // namespace

// The arguments arrive as bytes, which are taken as UTF-8 text; the library
// calls widen them to UTF-16, substituting invalid sequences.
int main(int argc, char** argv) {
  bool output_closed = OpenClosedStandardStreams();
  // Static, so that they go after the library, which is made later and stops
  // its threads at exit: no output follows the parent's mode put back.
  static BlockingOutput output(STDOUT_FILENO);
  static BlockingOutput errors(STDERR_FILENO);
  // A reader that has gone, or a file size limit, makes writes fail instead
  // of ending the run halfway; the failure shows in the exit code, and a
  // save of the library's is refused whole.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  std::deque<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.push_back(argv[i]);
  int result = RunProgram(arguments);
  // Output that went nowhere fails the run: exit code 1.
  return output_closed ? 1 : result;
}
