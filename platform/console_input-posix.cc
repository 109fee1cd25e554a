#include "platform/console_input.h"

#include <errno.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The white space of the "C" locale.
bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// False at the end of the input or on an error. It waits in poll(2): a
// thread checker runs signal handlers at once only in calls known to block,
// and read(2) is not one of them.
bool ReadByte(char* c) {
  for (;;) {
    pollfd input = {STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, -1) < 0 && errno == EINTR)
      continue;
    ssize_t n = read(STDIN_FILENO, c, 1);
    if (n == 1)
      return true;
    if (n == 0 || errno != EINTR)
      return false;
  }
}

}  // namespace

// Byte by byte straight from the descriptor: nothing of the word is left in
// a stream's buffer.
std::string ReadInputWord() {
  std::string word;
  char c;
  bool more = ReadByte(&c);
  while (more && IsWhiteSpace(c))
    more = ReadByte(&c);
  while (more && !IsWhiteSpace(c)) {
    word += c;
    more = ReadByte(&c);
  }
  return word;
}
