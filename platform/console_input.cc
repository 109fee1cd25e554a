#include "platform/console_input.h"

namespace {

// The white space of the "C" locale.
bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string ReadInputWord() {
  std::string word;
  ReadInputBytes([&word](char c) {
    if (!IsWhiteSpace(c)) {
      word += c;
      return true;
    }
    // White space before the word is skipped; after it, it ends the word.
    return word.empty();
  });
  return word;
}
