#include "tests/support/lock_holder.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

LockHolder::LockHolder(const std::string& path, unsigned at_most_s) {
  int ready[2];
  if (pipe(ready) != 0)
    return;
  pid_ = fork();
  if (pid_ == 0) {
    // Only async-signal-safe calls: the test process may have threads. A
    // group of its own: stopped in the test's group, a parent's exit that
    // orphans that group would hang it up (SIGHUP) and so let go early.
    close(ready[0]);
    setpgid(0, 0);
    alarm(at_most_s);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || flock(fd, LOCK_EX) != 0)
      _exit(1);
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1)
      _exit(1);
    for (;;)
      pause();
  }
  close(ready[1]);
  char byte = 0;
  ssize_t n;
  while ((n = read(ready[0], &byte, 1)) < 0 && errno == EINTR) {
  }
  close(ready[0]);
  held_ = pid_ > 0 && n == 1;
}

LockHolder::~LockHolder() { Release(); }

bool LockHolder::Stop() { return pid_ > 0 && kill(pid_, SIGSTOP) == 0; }

void LockHolder::Release() {
  if (pid_ <= 0)
    return;
  kill(pid_, SIGKILL);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  held_ = false;
}
