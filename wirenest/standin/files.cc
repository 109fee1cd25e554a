#include "wirenest/standin/files.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdint.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace standin {

FileDescriptor::~FileDescriptor() { Close(); }

bool FileDescriptor::Close() {
  if (fd_ < 0)
    return true;
  int fd = fd_;
  fd_ = -1;
  return close(fd) == 0;
}

namespace {

// The lock file, made here if it was missing.
int OpenLockFile(const std::string& path) {
  for (;;) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
      GiveToFolderOwner(fd, path);
      return fd;
    }
    if (errno != EEXIST)
      return -1;
    fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    // Gone again in between: made afresh.
    if (fd >= 0 || errno != ENOENT)
      return fd;
  }
}

// The owner of the folder `path` is in, when that is not this process's.
bool OtherFolderOwner(const std::string& path, struct stat* folder) {
  return stat(ParentDirectory(path).c_str(), folder) == 0 && folder->st_uid != geteuid();
}

}  // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience)
    : file_(OpenLockFile(path)) {
  if (!file_.valid()) {
    error_ = errno;
    return;
  }
  // A blocking flock could wait forever; tries spaced out a little instead.
  const auto deadline = std::chrono::steady_clock::now() + patience;
  std::chrono::milliseconds pause(1);
  while (flock(file_.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR)
      continue;
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      error_ = errno;
      return;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

bool WriteAll(int fd, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

bool AppendToFile(const std::string& path, const std::string& text) {
  FileDescriptor file(open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
  return file.valid() && WriteAll(file.get(), text) && file.Close();
}

bool ReadWholeFile(const std::string& path, std::string* text, int* error) {
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.valid()) {
    *error = errno;
    return false;
  }
  return ReadAll(file.get(), SIZE_MAX, text, error);
}

bool ReadAll(int fd, size_t limit, std::string* text, int* error) {
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      *error = errno;
      return false;
    }
    if (n == 0)
      break;
    if (static_cast<size_t>(n) > limit - content.size()) {
      *error = EFBIG;
      return false;
    }
    content.append(buffer, static_cast<size_t>(n));
  }
  *text = content;
  return true;
}

bool FollowLinks(const std::string& path, std::string* target) {
  std::string current = path;
  for (int hops = 0; hops <= 40; ++hops) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT)
        return false;
      *target = current;
      return true;
    }
    if (!S_ISLNK(info.st_mode)) {
      *target = current;
      return true;
    }
    std::vector<char> link(PATH_MAX + 1);
    ssize_t n = readlink(current.c_str(), link.data(), link.size());
    if (n < 0)
      return false;
    if (static_cast<size_t>(n) >= link.size()) {
      errno = ENAMETOOLONG;
      return false;
    }
    std::string next(link.data(), static_cast<size_t>(n));
    current = next[0] == '/' ? next : ParentDirectory(current) + "/" + next;
  }
  errno = ELOOP;
  return false;
}

bool MakeDirectories(const std::string& path) {
  if (path.empty() || path == "/" || path == ".")
    return true;
  struct stat info;
  if (stat(path.c_str(), &info) == 0)
    return S_ISDIR(info.st_mode);
  if (!MakeDirectories(ParentDirectory(path)))
    return false;
  if (mkdir(path.c_str(), 0700) != 0)
    return errno == EEXIST;
  FileDescriptor made(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (made.valid())
    GiveToFolderOwner(made.get(), path);
  return true;
}

void GiveToFolderOwner(int fd, const std::string& path) {
  struct stat folder;
  if (!OtherFolderOwner(path, &folder))
    return;
  // Refused where the process may not: the file then stays its own.
  int refused = fchown(fd, folder.st_uid, folder.st_gid);
  (void)refused;
}

std::string ParentDirectory(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return path.substr(0, slash);
}

}  // namespace standin
