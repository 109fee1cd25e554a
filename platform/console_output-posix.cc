#include "platform/console_output.h"

#include <stdio.h>

// A failed write shows in the stream's error flag, which the exit code
// reports for standard output.
void WriteStandardOutput(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

void WriteStandardError(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stderr);
  fflush(stderr);
}
