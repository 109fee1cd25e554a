#include "platform/blocking_output.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_rdev == b.st_rdev;
}

// Each open of a terminal's master side makes a new terminal, though it names
// the same device node.
bool IsTerminalMaster(int fd) {
  unsigned int number;
  return ioctl(fd, TIOCGPTN, &number) == 0;
}

// The parent shares the description and may rely on its mode, so a pipe or
// terminal is opened afresh for this process alone, where what opens is the
// very file the descriptor has.
bool ReopenBlocking(int fd, int flags) {
  struct stat info;
  if (fstat(fd, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) ||
      (S_ISCHR(info.st_mode) && IsTerminalMaster(fd)))
    return false;
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  // Opened non-blocking, so that a pipe whose reader has gone fails at once
  // instead of waiting for a new reader.
  int fresh = open(path.c_str(), (flags & O_ACCMODE) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fresh < 0)
    return false;
  struct stat fresh_info;
  int fresh_flags = fcntl(fresh, F_GETFL);
  bool replaced = fstat(fresh, &fresh_info) == 0 && SameFile(info, fresh_info) &&
                  fresh_flags != -1 && fcntl(fresh, F_SETFL, fresh_flags & ~O_NONBLOCK) == 0 &&
                  dup2(fresh, fd) == fd;
  close(fresh);
  return replaced;
}

}  // namespace

BlockingOutput::BlockingOutput(int fd) : fd_(fd) {
  int flags = fcntl(fd, F_GETFL);
  if (flags == -1 || !(flags & O_NONBLOCK) || ReopenBlocking(fd, flags))
    return;
  if (fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
    shared_flags_ = flags;
}

BlockingOutput::~BlockingOutput() {
  if (shared_flags_ == -1)
    return;
  // The last of the output goes while writes still wait for the reader.
  fflush(stdout);
  fflush(stderr);
  fcntl(fd_, F_SETFL, shared_flags_);
}
