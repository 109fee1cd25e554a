#include "platform/blocking_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

// The parent shares the description and may rely on its mode, so a pipe or
// terminal is opened afresh for this process alone.
bool ReopenBlocking(int fd, int flags) {
  struct stat info;
  if (fstat(fd, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)))
    return false;
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  // Opened non-blocking, so that a pipe whose reader has gone fails at once
  // instead of waiting for a new reader.
  int fresh = open(path.c_str(), (flags & O_ACCMODE) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fresh < 0)
    return false;
  int fresh_flags = fcntl(fresh, F_GETFL);
  bool replaced = fresh_flags != -1 && fcntl(fresh, F_SETFL, fresh_flags & ~O_NONBLOCK) == 0 &&
                  dup2(fresh, fd) == fd;
  close(fresh);
  return replaced;
}

}  // namespace

void MakeOutputBlocking(int fd) {
  int flags = fcntl(fd, F_GETFL);
  if (flags == -1 || !(flags & O_NONBLOCK))
    return;
  // What cannot be opened afresh (a socket) is switched to blocking itself.
  if (!ReopenBlocking(fd, flags))
    fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}
