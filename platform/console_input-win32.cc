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
    if (console_)
      return FillFromConsole();
    DWORD wanted = seekable_ ? sizeof block_ : 1;
    DWORD count = 0;
    while (!ReadFile(input_, block_, wanted, &count, nullptr)) {
      count = 0;
      if (GetLastError() != ERROR_OPERATION_ABORTED)
        break;
    }
    size_ = count;
    next_ = 0;
    return size_ > 0;
  }

  // What is typed, as UTF-8: read as bytes, it would come in the console's
  // code page, without what that lacks. A Ctrl+C breaks a read off while the
  // system ends the process on a thread of its own: the read goes on
  // meanwhile, and for good where the process ignores Ctrl+C.
  bool FillFromConsole() {
    wchar_t typed[kConsoleUnits];
    size_ = 0;
    next_ = 0;
    while (size_ == 0) {
      // Half a character waits for its other half.
      DWORD count = high_surrogate_ ? 1 : 0;
      typed[0] = high_surrogate_;
      DWORD read = 0;
      SetLastError(0);
      if (!ReadConsoleW(input_, typed + count, kConsoleUnits - count, &read, nullptr) ||
          read == 0) {
        if (GetLastError() == ERROR_OPERATION_ABORTED)
          continue;
        return false;
      }
      count += read;
      high_surrogate_ = IS_HIGH_SURROGATE(typed[count - 1]) ? typed[--count] : 0;
      const int size = count == 0 ? 0
                                  : WideCharToMultiByte(CP_UTF8, 0, typed, static_cast<int>(count),
                                                        block_, sizeof block_, nullptr, nullptr);
      size_ = size > 0 ? static_cast<size_t>(size) : 0;
    }
    return true;
  }

  static bool IsConsole(HANDLE input) {
    DWORD mode;
    return GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode);
  }

  HANDLE input_;
  bool seekable_;
  bool console_;
  bool ended_ = false;
  wchar_t high_surrogate_ = 0;
  // Each UTF-16 unit becomes 3 bytes at most.
  static const DWORD kConsoleUnits = 16384 / 3;
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
