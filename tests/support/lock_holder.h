// Another holder of an exclusive lock on a file, as a run of the program
// that keeps the state locked: on POSIX another process holding a flock, on
// Windows another handle holding a LockFileEx lock, which the system tells
// apart from any other handle even in this process.
#ifndef WNCTL_TESTS_SUPPORT_LOCK_HOLDER_H_
#define WNCTL_TESTS_SUPPORT_LOCK_HOLDER_H_

#ifndef _WIN32
#include <sys/types.h>
#endif

#include <string>

class LockHolder {
 public:
  // Returns once the lock is held (see held()). The holder lets go when
  // this object goes, and after `at_most_s` seconds in any case, so that a
  // test that hangs on it ends (on Windows the lock goes with this process).
  explicit LockHolder(const std::string& path, unsigned at_most_s = 60);
  ~LockHolder();
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  bool held() const { return held_; }
#ifndef _WIN32
  // Stops the holder (SIGSTOP), as a process stopped in a terminal.
  bool Stop();
#endif
  // Ends the holder, and with it the lock.
  void Release();

 private:
#ifdef _WIN32
  void* file_ = nullptr;
#else
  pid_t pid_ = -1;
#endif
  bool held_ = false;
};

#endif  // WNCTL_TESTS_SUPPORT_LOCK_HOLDER_H_
