// Another process holding an exclusive flock on a file, as a run of the
// program that keeps the state locked.
#ifndef WNCTL_TESTS_SUPPORT_LOCK_HOLDER_H_
#define WNCTL_TESTS_SUPPORT_LOCK_HOLDER_H_

#include <sys/types.h>

#include <string>

class LockHolder {
 public:
  // Returns once the lock is held (see held()). The holder lets go when
  // this object goes, and after `at_most_s` seconds in any case, so that a
  // test that hangs on it ends.
  explicit LockHolder(const std::string& path, unsigned at_most_s = 60);
  ~LockHolder();
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  bool held() const { return held_; }
  // Stops the holder (SIGSTOP), as a process stopped in a terminal.
  bool Stop();
  // Ends the holder, and with it the lock.
  void Release();

 private:
  pid_t pid_ = -1;
  bool held_ = false;
};

#endif  // WNCTL_TESTS_SUPPORT_LOCK_HOLDER_H_
