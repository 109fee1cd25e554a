#include "wirenest/standin/files.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <thread>

namespace standin {

FileDescriptor::~FileDescriptor() { Close(); }

void FileDescriptor::Reset(int fd) {
  Close();
  fd_ = fd;
}

int FileDescriptor::Release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

bool FileDescriptor::Close() {
  if (fd_ < 0)
    return true;
  int fd = fd_;
  fd_ = -1;
  return close(fd) == 0;
}

namespace {

// Folders on the way are held only to look up the next one, which needs no
// right to read them.
const int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::vector<std::string> PathNames(const std::string& path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos)
      slash = path.size();
    if (slash > start)
      names.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return names;
}

// The mode of a folder held only by path (O_PATH), which fchmod refuses.
bool SetFolderMode(int fd, mode_t mode) {
  struct stat info;
  if (fstat(fd, &info) != 0)
    return false;
  if ((info.st_mode & 07777) == mode)
    return true;
  return chmod(("/proc/self/fd/" + std::to_string(fd)).c_str(), mode) == 0;
}

}  // namespace

bool Folder::Open(const std::string& path, bool make_missing) {
  // The part of the path that exists, its links resolved, and what is missing below it.
  std::string existing = path.empty() ? "." : path;
  std::vector<std::string> missing;
  std::unique_ptr<char, void (*)(void*)> resolved(nullptr, free);
  for (;;) {
    resolved.reset(realpath(existing.c_str(), nullptr));
    if (resolved)
      break;
    const std::string parent = ParentDirectory(existing);
    if (errno != ENOENT || !make_missing || parent == existing)
      return false;
    if (!BaseName(existing).empty())
      missing.push_back(BaseName(existing));
    existing = parent;
  }
  fd_.Reset(open("/", kFolderFlags));
  for (const std::string& name : PathNames(resolved.get())) {
    if (!fd_.valid())
      break;
    fd_.Reset(openat(fd_.get(), name.c_str(), kFolderFlags));
  }
  for (auto name = missing.rbegin(); fd_.valid() && name != missing.rend(); ++name) {
    if (!MakeFolder(*name))
      fd_.Reset(-1);
  }
  return fd_.valid();
}

bool Folder::MakeFolder(const std::string& name) {
  const bool made = mkdirat(fd(), name.c_str(), 0700) == 0;
  if (!made && errno != EEXIST)
    return false;
  FileDescriptor child(openat(fd(), name.c_str(), kFolderFlags));
  if (!child.valid())
    return false;
  // The umask may have taken the owner's own rights away, as from ~/.local.
  if (made) {
    if (!SetFolderMode(child.get(), 0700))
      return false;
    GiveToOwner(child.get());
  }
  fd_.Reset(child.Release());
  return true;
}

int Folder::OpenFile(const std::string& name, int flags) const {
  return openat(fd(), name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC);
}

int Folder::MakeFile(const std::string& name, int flags) const {
  FileDescriptor file(
      openat(fd(), name.c_str(), flags | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  struct stat info;
  if (!file.valid() || fstat(file.get(), &info) != 0 ||
      ((info.st_mode & 07777) != 0600 && fchmod(file.get(), 0600) != 0)) {
    const int error = errno;
    if (file.valid())
      Remove(name);
    errno = error;
    return -1;
  }
  GiveToOwner(file.get());
  return file.Release();
}

bool Folder::Rename(const std::string& from, const std::string& to) const {
  return renameat(fd(), from.c_str(), fd(), to.c_str()) == 0;
}

void Folder::Remove(const std::string& name) const { unlinkat(fd(), name.c_str(), 0); }

std::vector<std::string> Folder::Names() const {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> listing(nullptr, closedir);
  FileDescriptor readable(openat(fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (readable.valid())
    listing.reset(fdopendir(readable.get()));
  if (!listing)
    return names;
  readable.Release();
  while (const dirent* entry = readdir(listing.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..")
      names.push_back(name);
  }
  return names;
}

void Folder::GiveToOwner(int fd) const {
  struct stat folder;
  if (fstat(fd_.get(), &folder) != 0 || folder.st_uid == geteuid())
    return;
  // Refused where the process may not: the file then stays its own.
  int refused = fchownat(fd, "", folder.st_uid, folder.st_gid, AT_EMPTY_PATH);
  (void)refused;
}

namespace {

// The lock file, made here if it was missing.
int OpenLockFile(const Folder& folder, const std::string& name) {
  for (;;) {
    int fd = folder.MakeFile(name, O_RDWR);
    if (fd >= 0 || errno != EEXIST)
      return fd;
    fd = folder.OpenFile(name, O_RDWR);
    // Gone again in between: made afresh.
    if (fd >= 0 || errno != ENOENT)
      return fd;
  }
}

}  // namespace

FileLock::FileLock(const Folder& folder, const std::string& name,
                   std::chrono::milliseconds patience)
    : file_(OpenLockFile(folder, name)) {
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
  FileDescriptor file(
      open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
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

std::string ParentDirectory(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace standin
