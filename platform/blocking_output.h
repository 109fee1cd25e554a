// Standard output and error as a POSIX parent may hand them over: with the
// open file description set non-blocking, a write the reader cannot take at
// once fails and its text is lost. Windows has no such sharing; only the
// POSIX entry uses this.
#ifndef WNCTL_PLATFORM_BLOCKING_OUTPUT_H_
#define WNCTL_PLATFORM_BLOCKING_OUTPUT_H_

// While it lives, writes to `fd` wait until the reader takes them, as on an
// ordinary pipe; nothing changes for a blocking descriptor. Where that takes
// the description the parent shares (a socket, a terminal's master side, what
// cannot be opened afresh), the parent's mode is put back when the object
// goes, after the standard streams are flushed.
class BlockingOutput {
 public:
  explicit BlockingOutput(int fd);
  ~BlockingOutput();
  BlockingOutput(const BlockingOutput&) = delete;
  BlockingOutput& operator=(const BlockingOutput&) = delete;

 private:
  int fd_;
  int shared_flags_ = -1;  // the shared description's flags to put back; -1: none
};

#endif  // WNCTL_PLATFORM_BLOCKING_OUTPUT_H_
