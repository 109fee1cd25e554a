#include "wirenest/standin/files.h"

#include <ctype.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "wirenest/standin/retry.h"

namespace standin {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now, for the writers that must know whether it worked.
  bool Close() {
    if (fd_ < 0)
      return true;
    int fd = Release();
    return close(fd) == 0;
  }

 private:
  int fd_;
};

std::string SystemError(const char* what, int error) {
  return std::string(what) + ": " + strerror(error);
}

// Folders on the way are held only to look up the next one, which needs no
// right to read them.
const int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Without O_NONBLOCK, opening a FIFO waits for a writer.
const int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

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

// Reads to the end; more than `limit` bytes fail with EFBIG.
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

// `fd` is open on what is to be read, or -1 with errno.
FileRead ReadOpenedFile(int fd, size_t limit, std::string* text, FileKeeps* keeps,
                        std::string* error) {
  FileDescriptor file(fd);
  struct stat info;
  if (!file.valid() || fstat(file.get(), &info) != 0) {
    const int open_error = errno;
    *error = SystemError("cannot be read", open_error);
    return open_error == ENOENT ? FileRead::kMissing : FileRead::kFailed;
  }
  if (!S_ISREG(info.st_mode)) {
    *error = "is not a regular file";
    return FileRead::kFailed;
  }
  int read_error = 0;
  if (static_cast<unsigned long long>(info.st_size) > limit) {
    read_error = EFBIG;
  } else if (fcntl(file.get(), F_SETFL, fcntl(file.get(), F_GETFL) & ~O_NONBLOCK) != 0 ||
             !ReadAll(file.get(), limit, text, &read_error)) {
    read_error = read_error ? read_error : errno;
  }
  if (read_error) {
    *error = SystemError("cannot be read", read_error);
    return FileRead::kFailed;
  }
  if (keeps) {
    keeps->existed = true;
    keeps->owner = info.st_uid;
    keeps->group = info.st_gid;
    keeps->mode = info.st_mode & 07777;
  }
  return FileRead::kRead;
}

// A replaced file keeps its owner, group and mode, or is not replaced: a file
// that its owner could no longer read would be worse than a lost change.
bool TakeOwnerAndMode(int fd, const FileKeeps& keeps, std::string* error) {
  if (!keeps.existed)
    return true;
  struct stat made;
  bool kept = fstat(fd, &made) == 0 &&
              ((made.st_uid == keeps.owner && made.st_gid == keeps.group) ||
               fchown(fd, keeps.owner, keeps.group) == 0) &&
              fchmod(fd, keeps.mode) == 0;
  if (!kept)
    *error = SystemError("cannot keep its owner and mode", errno);
  return kept;
}

// Saves named their temporary file after their process once; under the lock
// any such file left beside the target is stale.
bool IsOldTemporary(const std::string& entry, const std::string& name) {
  const std::string prefix = name + ".tmp-";
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0)
    return false;
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                     [](char c) { return isdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

Folder::~Folder() {
  if (fd_ >= 0)
    close(fd_);
}

bool Folder::Open(const std::string& path, bool make_missing, std::string* error) {
  // The part of the path that exists, its links resolved, and what is missing below it.
  std::string existing = path.empty() ? "." : path;
  std::vector<std::string> missing;
  std::unique_ptr<char, void (*)(void*)> resolved(nullptr, free);
  FileDescriptor folder;
  for (;;) {
    resolved.reset(realpath(existing.c_str(), nullptr));
    if (resolved)
      break;
    const std::string parent = ParentDirectory(existing);
    if (errno != ENOENT || !make_missing || parent == existing) {
      *error = SystemError("cannot be written", errno);
      return false;
    }
    if (!BaseName(existing).empty())
      missing.push_back(BaseName(existing));
    existing = parent;
  }
  if (fd_ >= 0)
    close(fd_);
  fd_ = open("/", kFolderFlags);
  for (const std::string& name : PathNames(resolved.get())) {
    if (fd_ < 0)
      break;
    int next = openat(fd_, name.c_str(), kFolderFlags);
    close(fd_);
    fd_ = next;
  }
  for (auto name = missing.rbegin(); fd_ >= 0 && name != missing.rend(); ++name) {
    if (!MakeFolder(*name)) {
      const int make_error = errno;
      close(fd_);
      fd_ = -1;
      errno = make_error;
    }
  }
  if (fd_ < 0)
    *error = SystemError("cannot be written", errno);
  return fd_ >= 0;
}

bool Folder::MakeFolder(const std::string& name) {
  const bool made = mkdirat(fd_, name.c_str(), 0700) == 0;
  if (!made && errno != EEXIST)
    return false;
  FileDescriptor child(openat(fd_, name.c_str(), kFolderFlags));
  if (!child.valid())
    return false;
  // The umask may have taken the owner's own rights away, as from ~/.local.
  if (made) {
    if (!SetFolderMode(child.get(), 0700))
      return false;
    GiveToOwner(child.get());
  }
  close(fd_);
  fd_ = child.Release();
  return true;
}

int Folder::OpenFile(const std::string& name, int flags) const {
  return openat(fd_, name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC);
}

int Folder::MakeFile(const std::string& name, int flags) const {
  FileDescriptor file(
      openat(fd_, name.c_str(), flags | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  struct stat info;
  if (!file.valid() || fstat(file.get(), &info) != 0 ||
      ((info.st_mode & 07777) != 0600 && fchmod(file.get(), 0600) != 0)) {
    const int error = errno;
    if (file.valid())
      unlinkat(fd_, name.c_str(), 0);
    errno = error;
    return -1;
  }
  GiveToOwner(file.get());
  return file.Release();
}

void Folder::GiveToOwner(int fd) const {
  struct stat folder;
  if (fstat(fd_, &folder) != 0 || folder.st_uid == geteuid())
    return;
  // Refused where the process may not: the file then stays its own.
  int refused = fchownat(fd, "", folder.st_uid, folder.st_gid, AT_EMPTY_PATH);
  (void)refused;
}

FileRead Folder::ReadRegularFile(const std::string& name, size_t limit, std::string* text,
                                 FileKeeps* keeps, std::string* error) const {
  return ReadOpenedFile(OpenFile(name, kReadFlags), limit, text, keeps, error);
}

bool Folder::SaveFile(const std::string& name, const std::string& text, const FileKeeps& keeps,
                      std::string* error) const {
  FileDescriptor readable(openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::unique_ptr<DIR, int (*)(DIR*)> listing(
      readable.valid() ? fdopendir(readable.get()) : nullptr, closedir);
  if (listing) {
    readable.Release();
    while (const dirent* entry = readdir(listing.get())) {
      if (IsOldTemporary(entry->d_name, name))
        unlinkat(fd_, entry->d_name, 0);
    }
  }
  // Saves happen under the lock: one name serves, and one left by a save
  // cut short is stale.
  const std::string temporary = name + ".tmp";
  unlinkat(fd_, temporary.c_str(), 0);
  FileDescriptor file(MakeFile(temporary, O_WRONLY));
  if (!file.valid()) {
    *error = SystemError("cannot be written", errno);
    return false;
  }
  if (!TakeOwnerAndMode(file.get(), keeps, error)) {
    unlinkat(fd_, temporary.c_str(), 0);
    return false;
  }
  if (WriteAll(file.get(), text) && fsync(file.get()) == 0 && file.Close() &&
      renameat(fd_, temporary.c_str(), fd_, name.c_str()) == 0)
    return true;
  *error = SystemError("cannot be written", errno);
  unlinkat(fd_, temporary.c_str(), 0);
  return false;
}

FileLock::FileLock(const Folder& folder, const std::string& name,
                   std::chrono::milliseconds patience) {
  // Made here if it was missing, made afresh if it is gone again in between.
  for (;;) {
    fd_ = folder.MakeFile(name, O_RDWR);
    if (fd_ >= 0 || errno != EEXIST)
      break;
    fd_ = folder.OpenFile(name, O_RDWR);
    if (fd_ >= 0 || errno != ENOENT)
      break;
  }
  if (fd_ < 0) {
    error_ = SystemError("cannot be locked", errno);
    return;
  }
  int lock_error = 0;
  const Attempt locked = RetryWhileBusy(patience, [&] {
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0)
      return Attempt::kDone;
    lock_error = errno;
    return lock_error == EWOULDBLOCK || lock_error == EINTR ? Attempt::kBusy : Attempt::kFailed;
  });
  if (locked == Attempt::kBusy)
    error_ = "stayed locked by another process";
  else if (locked == Attempt::kFailed)
    error_ = SystemError("cannot be locked", lock_error);
}

FileLock::~FileLock() {
  if (fd_ >= 0)
    close(fd_);
}

FileRead ReadRegularFile(const std::string& path, size_t limit, std::string* text,
                         std::string* error) {
  return ReadOpenedFile(open(path.c_str(), kReadFlags), limit, text, nullptr, error);
}

bool ReadWholeFile(const std::string& path, std::string* text, std::string* error) {
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  int read_error = errno;
  if (!file.valid() || !ReadAll(file.get(), SIZE_MAX, text, &read_error)) {
    *error = SystemError("cannot be read", read_error);
    return false;
  }
  return true;
}

bool AppendToFile(const std::string& path, const std::string& text, bool* link_refused) {
  FileDescriptor file(
      open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  *link_refused = !file.valid() && errno == ELOOP;
  return file.valid() && WriteAll(file.get(), text) && file.Close();
}

bool FollowLinks(const std::string& path, std::string* target, std::string* error) {
  std::string current = path;
  for (int hops = 0; hops <= 40; ++hops) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT)
        break;
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
      break;
    if (static_cast<size_t>(n) >= link.size()) {
      errno = ENAMETOOLONG;
      break;
    }
    std::string next(link.data(), static_cast<size_t>(n));
    current = next[0] == '/' ? next : ParentDirectory(current) + "/" + next;
    errno = ELOOP;
  }
  *error = SystemError("cannot be written", errno);
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
