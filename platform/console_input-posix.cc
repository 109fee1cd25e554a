#include "platform/console_input.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Standard input taken byte by byte, so that nothing past the last byte
// taken is used up. A regular file is read a block at a time and what was
// read past that byte is given back by seeking: a word of a megabyte costs no
// more than a short one. Elsewhere only the wait is spared for bytes known to
// be there.
class InputBytes {
 public:
  InputBytes() {
    // An input opened only for writing would never become readable: it
    // ends at once, as a closed one does.
    int flags = fcntl(STDIN_FILENO, F_GETFL);
    readable_ = flags != -1 && (flags & O_ACCMODE) != O_WRONLY;
    struct stat info;
    seekable_ = fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode);
  }
  ~InputBytes() {
    if (next_ < size_)
      lseek(STDIN_FILENO, -static_cast<off_t>(size_ - next_), SEEK_CUR);
  }
  InputBytes(const InputBytes&) = delete;
  InputBytes& operator=(const InputBytes&) = delete;

  bool Next(char* c) {
    if (!readable_)
      return false;
    if (!seekable_)
      return ReadByte(c);
    if (next_ == size_ && !Fill())
      return false;
    *c = block_[next_++];
    return true;
  }

 private:
  // False at the end of the input or on an error. It waits in poll(2): a
  // thread checker runs signal handlers at once only in calls known to
  // block, and read(2) is not one of them.
  bool ReadByte(char* c) {
    for (;;) {
      if (waiting_ == 0) {
        pollfd input = {STDIN_FILENO, POLLIN, 0};
        if (poll(&input, 1, -1) < 0 && errno == EINTR)
          continue;
        int count = 0;
        if (ioctl(STDIN_FILENO, FIONREAD, &count) == 0 && count > 0)
          waiting_ = static_cast<size_t>(count);
      }
      ssize_t n = read(STDIN_FILENO, c, 1);
      if (n == 1) {
        waiting_ = waiting_ > 0 ? waiting_ - 1 : 0;
        return true;
      }
      waiting_ = 0;
      if (n == 0 || errno != EINTR)
        return false;
    }
  }

  bool Fill() {
    ssize_t n;
    do {
      n = read(STDIN_FILENO, block_, sizeof block_);
    } while (n < 0 && errno == EINTR);
    size_ = n > 0 ? static_cast<size_t>(n) : 0;
    next_ = 0;
    return size_ > 0;
  }

  bool readable_ = false;
  bool seekable_ = false;
  size_t waiting_ = 0;  // bytes that a read takes without waiting
  char block_[16384];
  size_t size_ = 0;
  size_t next_ = 0;
};

}  // namespace

void ReadInputBytes(const std::function<bool(char)>& take) {
  InputBytes input;
  char c;
  while (input.Next(&c) && take(c)) {
  }
}
