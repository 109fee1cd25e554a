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
#ifdef __linux__
#include <sys/fsuid.h>
#include <sys/syscall.h>
#endif

#include <algorithm>
#include <deque>
#include <memory>
#include <mutex>
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
  void Reset(int fd) {
    Close();
    fd_ = fd;
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

// The walk met a folder or link of another user, whose rights this system
// gives no way to take.
const int kOtherUsersFile = -1;
const int kMostLinks = 40;

std::string SystemError(const char* what, int error) {
  if (error == kOtherUsersFile)
    return std::string(what) + ": it belongs to another user, whose rights cannot be taken here";
  return std::string(what) + ": " + strerror(error);
}

// Folders on the way are held only to look up the next one, which needs no
// right to read them.
const int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// What a name on the way stands for is found without following it.
const int kLookupFlags = O_PATH | O_NOFOLLOW | O_CLOEXEC;
// Without O_NONBLOCK, opening a FIFO waits for a writer.
const int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

std::function<void(const std::string&)>& SaveStepHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}

void SaveStep(const std::string& temporary) {
  if (SaveStepHook())
    SaveStepHook()(temporary);
}

}  // namespace

// The file system rights of this thread: those of another user taken for a
// while, or the process's own. On Linux they are per thread, so the rest of
// the process keeps its own meanwhile.
class FileRights {
 public:
  FileRights() = default;
  ~FileRights() { GiveBack(); }
  FileRights(const FileRights&) = delete;
  FileRights& operator=(const FileRights&) = delete;

  // Takes the rights of `uid` and `gid`, without this process's other
  // groups; false, with nothing changed, where this process may not.
  bool Take(uid_t uid, gid_t gid) {
#ifdef __linux__
    if (taken_)
      return false;
    // Each call answers the rights it found; -1 changes nothing.
    const uid_t own_uid = static_cast<uid_t>(setfsuid(uid));
    if (static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1))) != uid) {
      setfsuid(own_uid);
      return false;
    }
    own_uid_ = own_uid;
    own_gid_ = static_cast<gid_t>(setfsgid(gid));
    taken_ = true;
    const int count = getgroups(0, nullptr);
    own_groups_.resize(count > 0 ? static_cast<size_t>(count) : 0);
    if (count < 0 || getgroups(count, own_groups_.data()) != count ||
        static_cast<gid_t>(setfsgid(static_cast<gid_t>(-1))) != gid ||
        SetThreadGroups(0, nullptr) != 0) {
      GiveBack();
      return false;
    }
    return true;
#else
    (void)uid;
    (void)gid;
    return false;
#endif
  }

  static bool CanBeTaken() {
#ifdef __linux__
    return true;
#else
    return false;
#endif
  }

 private:
#ifdef __linux__
  // The raw call changes this thread alone; glibc's setgroups would change
  // every thread of the process.
  static long SetThreadGroups(size_t count, const gid_t* groups) {
#ifdef SYS_setgroups32
    return syscall(SYS_setgroups32, count, groups);
#else
    return syscall(SYS_setgroups, count, groups);
#endif
  }
#endif

  void GiveBack() {
#ifdef __linux__
    if (!taken_)
      return;
    taken_ = false;
    setfsuid(own_uid_);
    SetThreadGroups(own_groups_.size(), own_groups_.data());
    setfsgid(own_gid_);
#endif
  }

  bool taken_ = false;
  uid_t own_uid_ = 0;
  gid_t own_gid_ = 0;
  std::vector<gid_t> own_groups_;
};

// Where no rights can be taken, root refuses a folder or link of another
// user rather than work in it with its own.
static bool RefusedAsAnotherUsers(uid_t owner) {
  return !FileRights::CanBeTaken() && geteuid() == 0 && owner != geteuid();
}

// The rights a folder's work is done with, taken on the thread that does it.
class OwnersRights {
 public:
  explicit OwnersRights(const Folder& folder)
      : held_(!folder.other_user_ || rights_.Take(folder.uid_, folder.gid_)) {}
  // False when the owner's rights could not be had again: the work is then
  // not done.
  bool held() const { return held_; }

 private:
  FileRights rights_;
  bool held_;
};

namespace {

// New folders are the owner's alone: the umask may have taken the owner's own
// rights away, as from ~/.local. The umask is the process's, so its brief
// change is made under a lock, and no mode is set later through a path.
bool MakeFolderAt(int folder, const std::string& name) {
  static std::mutex umask_mutex;
  std::lock_guard<std::mutex> lock(umask_mutex);
  const mode_t mask = umask(077);
  const bool made = mkdirat(folder, name.c_str(), 0700) == 0;
  const int error = errno;
  umask(mask);
  errno = error;
  return made;
}

bool WriteAll(int fd, const std::string& text) {
  return standin::WriteAll(text, [fd](const char* data, size_t size) -> long long {
    ssize_t n;
    do {
      n = write(fd, data, size);
    } while (n < 0 && errno == EINTR);
    return n;
  });
}

// Reads to the end; more than `limit` bytes fail with EFBIG.
bool ReadAll(int fd, size_t limit, std::string* text, int* error) {
  int read_error = 0;
  const BoundedRead result = ReadUpTo(limit, text, [&](char* buffer, size_t size) -> long long {
    ssize_t n;
    do {
      n = read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    read_error = errno;
    return n;
  });
  if (result == BoundedRead::kRead)
    return true;
  *error = result == BoundedRead::kTooLarge ? EFBIG : read_error;
  return false;
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
    // Not the set-user-ID and set-group-ID bits: a save makes another file.
    keeps->mode = info.st_mode & 0777;
  }
  return FileRead::kRead;
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

std::deque<std::string> PathNames(const std::string& path) {
  std::deque<std::string> names;
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

// Whether `path` can name only a folder, never a file in one.
bool NamesAFolder(const std::string& path) {
  const std::string last = BaseName(path);
  return last.empty() || last == "." || last == "..";
}

// The text of the link held by `link`, whose owner is `owner`; 0 or an errno.
int ReadLink(int link, uid_t owner, bool with_owners_rights, int links, std::string* target) {
  if (!with_owners_rights && RefusedAsAnotherUsers(owner))
    return kOtherUsersFile;
  if (links > kMostLinks)
    return ELOOP;
  std::vector<char> text(PATH_MAX + 1);
  ssize_t n = readlinkat(link, "", text.data(), text.size());
  if (n < 0)
    return errno;
  if (n == 0)
    return ENOENT;
  if (static_cast<size_t>(n) >= text.size())
    return ENAMETOOLONG;
  target->assign(text.data(), static_cast<size_t>(n));
  return 0;
}

// A replaced file keeps its owner, group and mode, or is not replaced: a file
// that its owner could no longer read would be worse than a lost change.
bool TakeOwnerAndMode(int fd, const std::string& temporary, const FileKeeps& keeps,
                      std::string* error) {
  struct stat made;
  bool kept = true;
  if (keeps.existed) {
    kept = fstat(fd, &made) == 0 && ((made.st_uid == keeps.owner && made.st_gid == keeps.group) ||
                                     fchown(fd, keeps.owner, keeps.group) == 0);
    if (kept)
      SaveStep(temporary);
  }
  kept = kept && fchmod(fd, keeps.existed ? keeps.mode : 0600) == 0;
  if (!kept) {
    *error =
        SystemError(keeps.existed ? "cannot keep its owner and mode" : "cannot be written", errno);
    return false;
  }
  SaveStep(temporary);
  return true;
}

}  // namespace

void SetSaveStepHookForTesting(std::function<void(const std::string&)> hook) {
  SaveStepHook() = std::move(hook);
}

Folder::~Folder() {
  if (fd_ >= 0)
    close(fd_);
}

bool Folder::Open(const std::string& path, bool make_missing, std::string* error) {
  const int walk_error = Walk(path.empty() ? "." : path, make_missing, nullptr);
  if (walk_error)
    *error = SystemError("cannot be written", walk_error);
  return walk_error == 0;
}

bool Folder::OpenForFile(const std::string& path, bool make_missing, std::string* name,
                         std::string* error) {
  const int walk_error = Walk(path, make_missing, name);
  if (walk_error)
    *error = SystemError("cannot be written", walk_error);
  return walk_error == 0;
}

// Every name is looked up in the folder reached so far, a link's text taking
// its place, so that no step looks a path up twice. From the first folder of
// another user on, the walk and all later work in the folder go with that
// user's rights where this process may take them: root's run in a user's
// home then reaches, makes and changes only what that user could, and what
// it makes is that user's without being given away.
int Folder::Walk(const std::string& path, bool make_missing, std::string* file_name) {
  if (fd_ >= 0)
    close(fd_);
  fd_ = -1;
  other_user_ = false;
  // A file's name is the path's last; a path that can name only a folder
  // names no file to make.
  bool ends_in_folder = !file_name || NamesAFolder(path);
  if (file_name && make_missing && ends_in_folder)
    return EISDIR;
  FileRights rights;
  FileDescriptor folder;
  auto enter = [&](int fd) {
    folder.Reset(fd);
    struct stat info;
    if (!folder.valid() || fstat(folder.get(), &info) != 0)
      return errno;
    return TakeOwnersRights(info.st_uid, info.st_gid, &rights);
  };
  auto start = [&](const std::string& from) {
    return enter(open(from[0] == '/' ? "/" : ".", kFolderFlags));
  };
  std::deque<std::string> names = PathNames(path);
  if (int error = start(path))
    return error;
  int links = 0;
  while (!names.empty()) {
    const std::string name = names.front();
    names.pop_front();
    const bool is_file = names.empty() && !ends_in_folder;
    if (name == "." && !is_file)
      continue;
    FileDescriptor found(openat(folder.get(), name.c_str(), kLookupFlags));
    if (!found.valid() && errno == ENOENT && make_missing && !is_file) {
      if (!MakeFolderAt(folder.get(), name) && errno != EEXIST)
        return errno;
      found.Reset(openat(folder.get(), name.c_str(), kLookupFlags));
    }
    struct stat info;
    if (!found.valid() || fstat(found.get(), &info) != 0) {
      if (is_file && errno == ENOENT) {
        *file_name = name;
        break;
      }
      return errno;
    }
    if (S_ISLNK(info.st_mode)) {
      std::string target;
      if (int error = ReadLink(found.get(), info.st_uid, other_user_, ++links, &target))
        return error;
      if (is_file && NamesAFolder(target)) {
        if (make_missing)
          return EISDIR;
        ends_in_folder = true;
      }
      std::deque<std::string> more = PathNames(target);
      names.insert(names.begin(), more.begin(), more.end());
      if (target[0] == '/') {
        if (int error = start(target))
          return error;
      }
      continue;
    }
    if (is_file) {
      *file_name = name;
      break;
    }
    if (!S_ISDIR(info.st_mode))
      return ENOTDIR;
    if (int error = enter(found.Release()))
      return error;
  }
  if (file_name && ends_in_folder)
    *file_name = ".";
  fd_ = folder.Release();
  return 0;
}

int Folder::TakeOwnersRights(uint32_t owner, uint32_t group, FileRights* rights) {
  if (other_user_ || owner == geteuid())
    return 0;
  if (rights->Take(owner, group)) {
    other_user_ = true;
    uid_ = owner;
    gid_ = group;
  } else if (RefusedAsAnotherUsers(owner)) {
    return kOtherUsersFile;
  }
  return 0;
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
  return file.Release();
}

FileRead Folder::ReadRegularFile(const std::string& name, size_t limit, std::string* text,
                                 FileKeeps* keeps, std::string* error) const {
  OwnersRights rights(*this);
  if (!rights.held()) {
    *error = SystemError("cannot be read", EPERM);
    return FileRead::kFailed;
  }
  return ReadOpenedFile(OpenFile(name, kReadFlags), limit, text, keeps, error);
}

bool Folder::SaveFile(const std::string& name, const std::string& text, const FileKeeps& keeps,
                      std::string* error) const {
  OwnersRights rights(*this);
  if (!rights.held()) {
    *error = SystemError("cannot be written", EPERM);
    return false;
  }
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
  const std::string temporary = TemporaryName(name);
  unlinkat(fd_, temporary.c_str(), 0);
  // Made with no rights for anyone, the replacement is given the owner and
  // the mode of the file it replaces before it is open to anyone else, and
  // before it holds a byte.
  FileDescriptor file(
      openat(fd_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0));
  if (!file.valid()) {
    *error = SystemError("cannot be written", errno);
    return false;
  }
  SaveStep(temporary);
  if (!TakeOwnerAndMode(file.get(), temporary, keeps, error)) {
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

bool Folder::AppendToFile(const std::string& name, const std::string& text,
                          std::string* refusal) const {
  OwnersRights rights(*this);
  if (!rights.held())
    return false;
  // Not waiting on a FIFO, nor writing to one or to a device.
  FileDescriptor file(OpenFile(name, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK));
  struct stat info;
  if (!file.valid() || fstat(file.get(), &info) != 0) {
    if (errno == ELOOP)
      *refusal = "is a symbolic link";
    else if (errno == ENXIO)
      *refusal = "is not a regular file";
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *refusal = "is not a regular file";
    return false;
  }
  return WriteAll(file.get(), text) && file.Close();
}

FileLock::FileLock(const Folder& folder, const std::string& name,
                   std::chrono::milliseconds patience) {
  {
    OwnersRights rights(folder);
    errno = EPERM;
    // Made here if it was missing, made afresh if it is gone again in between.
    while (rights.held()) {
      fd_ = folder.MakeFile(name, O_RDWR);
      if (fd_ >= 0 || errno != EEXIST)
        break;
      fd_ = folder.OpenFile(name, O_RDWR);
      if (fd_ >= 0 || errno != ENOENT)
        break;
    }
  }
  if (fd_ < 0) {
    error_ = SystemError(kCannotBeLocked, errno);
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
    error_ = kLockedElsewhere;
  else if (locked == Attempt::kFailed)
    error_ = SystemError(kCannotBeLocked, lock_error);
}

FileLock::~FileLock() {
  if (fd_ >= 0)
    close(fd_);
}

FileRead ReadRegularFile(const std::string& path, size_t limit, std::string* text,
                         std::string* error) {
  Folder folder;
  std::string name;
  const int walk_error = folder.Walk(path, false, &name);
  if (walk_error) {
    *error = SystemError("cannot be read", walk_error);
    return walk_error == ENOENT ? FileRead::kMissing : FileRead::kFailed;
  }
  return folder.ReadRegularFile(name, limit, text, nullptr, error);
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

bool AppendToFile(const std::string& path, const std::string& text, std::string* refusal) {
  Folder folder;
  std::string error;
  return folder.Open(ParentDirectory(path), false, &error) &&
         folder.AppendToFile(BaseName(path), text, refusal);
}

}  // namespace standin
