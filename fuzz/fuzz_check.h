// The properties the fuzz targets check: a failed one stops the fuzzer with
// its description, as a crash.
#ifndef WNCTL_FUZZ_FUZZ_CHECK_H_
#define WNCTL_FUZZ_FUZZ_CHECK_H_

#include <stdio.h>
#include <stdlib.h>

#include <string>

inline void FuzzCheck(bool holds, const char* what) {
  if (!holds) {
    fprintf(stderr, "check failed: %s\n", what);
    abort();
  }
}

// Nothing, or whole lines: no line is left half-written.
inline bool IsWholeLines(const std::string& output) {
  return output.empty() || output.back() == '\n';
}

inline bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

#endif  // WNCTL_FUZZ_FUZZ_CHECK_H_
