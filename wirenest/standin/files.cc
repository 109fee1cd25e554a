#include "wirenest/standin/files.h"

#include <utility>

namespace standin {

namespace {

#ifdef _WIN32
const char kSeparators[] = "/\\";
const bool kDriveRoots = true;
#else
const char kSeparators[] = "/";
const bool kDriveRoots = false;
#endif

}  // namespace

const char kLockedElsewhere[] = "stayed locked by another process";
const char kCannotBeLocked[] = "cannot be locked";

std::string ParentDirectory(const std::string& path) {
  size_t separator = path.find_last_of(kSeparators);
  if (separator == std::string::npos)
    return ".";
  // "/", and on Windows "\" and "C:\", are their own parents.
  if (separator == 0 || (kDriveRoots && separator == 2 && path[1] == ':'))
    return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

std::string BaseName(const std::string& path) {
  size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string TemporaryName(const std::string& name) {
  // Saves happen under the lock: one name serves, and one left by a save cut
  // short is stale.
  return name + ".tmp";
}

BoundedRead ReadUpTo(size_t limit, std::string* text,
                     const std::function<long long(char*, size_t)>& read_some) {
  std::string content;
  char buffer[65536];
  for (;;) {
    const long long n = read_some(buffer, sizeof buffer);
    if (n < 0)
      return BoundedRead::kFailed;
    if (n == 0)
      break;
    if (static_cast<unsigned long long>(n) > limit - content.size())
      return BoundedRead::kTooLarge;
    content.append(buffer, static_cast<size_t>(n));
  }
  *text = std::move(content);
  return BoundedRead::kRead;
}

bool WriteAll(const std::string& text,
              const std::function<long long(const char*, size_t)>& write_some) {
  size_t written = 0;
  while (written < text.size()) {
    const long long n = write_some(text.data() + written, text.size() - written);
    if (n <= 0)
      return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace standin
