#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <iostream>

#include "frontend/commands/command_line_zirodo.h"
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

bool OutputWritten() {
  std::cout.flush();
  return fflush(stdout) == 0 && !ferror(stdout) && !std::cout.fail();
}

}  // namespace

// On POSIX the arguments arrive as bytes, which are taken as UTF-8 text; the
// library calls widen them to UTF-16, substituting invalid sequences.
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
  int result;
  {
    ArgumentList arguments;
    for (int i = 1; i < argc; ++i)
      arguments.push_back(argv[i]);
    CCommandLineZirOdo commands;
    commands.RegisterCommands();
    result = commands.Run(arguments);
  }
  // Output that could not all be written fails the run: exit code 1.
  if (output_closed || !OutputWritten())
    result = 1;
  return result;
}
