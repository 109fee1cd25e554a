#include "platform/console_input.h"

#include <windows.h>

namespace {

// What the C run-time's text mode takes for the end of the input.
const char kEndOfInput = 0x1A;  // Ctrl+Z

// Standard input taken byte by byte, so that nothing past the last byte
// taken is used up. A disk file is read a block at a time and what was read
// past that byte is given back by moving the file pointer: a word of a
// megabyte costs no more than a short one. From a console the whole line
// typed is taken, its line end included, as a terminal hands it over: what
// follows the word is not left for the next reader.
class InputBytes {
 public:
  InputBytes()
      : input_(GetStdHandle(STD_INPUT_HANDLE)),
        seekable_(GetFileType(input_) == FILE_TYPE_DISK),
        console_(IsConsole(input_)) {}
  ~InputBytes() {
    if (next_ < size_) {
      LARGE_INTEGER back;
      back.QuadPart = -static_cast<LONGLONG>(size_ - next_);
      SetFilePointerEx(input_, back, nullptr, FILE_CURRENT);
    }
  }
  InputBytes(const InputBytes&) = delete;
  InputBytes& operator=(const InputBytes&) = delete;

  bool Next(char* c) {
    if (ended_ || (next_ == size_ && !Fill()))
      return false;
    *c = block_[next_++];
    ended_ = *c == kEndOfInput;
    return !ended_;
  }

 private:
  // False at the end of the input or on an error (a handle that is not
  // there, or not open for reading).
  bool Fill() {
    DWORD wanted = seekable_ || console_ ? sizeof block_ : 1;
    DWORD count = 0;
    // A Ctrl+C breaks a read from the console off while the system ends the
    // process on a thread of its own: the read goes on meanwhile, and for
    // good where the process ignores Ctrl+C.
    while (!ReadFile(input_, block_, wanted, &count, nullptr)) {
      count = 0;
      if (GetLastError() != ERROR_OPERATION_ABORTED)
        break;
    }
    size_ = count;
    next_ = 0;
    return size_ > 0;
  }

  static bool IsConsole(HANDLE input) {
    DWORD mode;
    return GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode);
  }

  HANDLE input_;
  bool seekable_;
  bool console_;
  bool ended_ = false;
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
