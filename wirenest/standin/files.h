// The stand-in's files: the state file's folder and lock, whole reads and
// replacements, and the call log. Errors come as texts that say what failed
// ("cannot be read: ...").
#ifndef WIRENEST_STANDIN_FILES_H_
#define WIRENEST_STANDIN_FILES_H_

#include <stddef.h>
#include <stdint.h>

#include <chrono>
#include <functional>
#include <string>

namespace standin {

enum class FileRead { kRead, kMissing, kFailed };

#ifndef _WIN32
class FileRights;
#endif

// What a replaced file keeps of the one it replaces: owner, group and mode
// where the system has them.
struct FileKeeps {
  bool existed = false;
  uint32_t owner = 0;
  uint32_t group = 0;
  uint32_t mode = 0;
};

// A folder held open: whatever its path comes to name meanwhile, what is
// read, made or replaced through it happens in this very folder, and what
// is made in it goes to this folder's owner. Nothing here looks a name up
// twice, and no step follows a link in the folder.
class Folder {
 public:
  Folder() = default;
  ~Folder();
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Opens the folder `path` names. Symbolic links on the way are followed
  // once, to find it. With `make_missing`, missing folders are made on the
  // way, each usable by its owner alone (mode 0700 whatever the umask).
  // Where this process may, the walk from the first folder of another user
  // on, and all later work through this folder, is done with that user's
  // rights, so that root's run in a user's home can do only what the user
  // could, and what it makes is the user's. False with *error ("cannot be
  // written: ...").
  bool Open(const std::string& path, bool make_missing, std::string* error);
  // Opens the folder of the file `path` names, as Open, following the links
  // of the file's own name too, and sets *name to the file's name in it. A
  // path that can name only a folder ("dir/", "dir/.") names no file to
  // make: with `make_missing` it is refused before anything is made.
  bool OpenForFile(const std::string& path, bool make_missing, std::string* name,
                   std::string* error);

  // The regular file `name`, of at most `limit` bytes; one that is not
  // regular is refused without waiting on it. *keeps says what its
  // replacement keeps.
  FileRead ReadRegularFile(const std::string& name, size_t limit, std::string* text,
                           FileKeeps* keeps, std::string* error) const;
  // Writes `text` to a temporary file beside `name`, gives it what `keeps`
  // says (or mode 0600 for a new file) before it holds a byte, and puts it
  // in the place of `name` whole, so that a reader never sees half of it.
  // Temporary files of saves cut short are removed. False with *error, the
  // file then as it was.
  bool SaveFile(const std::string& name, const std::string& text, const FileKeeps& keeps,
                std::string* error) const;

 private:
  friend class FileLock;
#ifdef _WIN32
  std::wstring path_;  // ends in a separator
  void* handle_ = nullptr;
#else
  friend class OwnersRights;
  friend FileRead ReadRegularFile(const std::string& path, size_t limit, std::string* text,
                                  std::string* error);
  friend bool AppendToFile(const std::string& path, const std::string& text, std::string* refusal);
  // 0 or the errno of what stopped the walk; *file_name as OpenForFile.
  int Walk(const std::string& path, bool make_missing, std::string* file_name);
  int TakeOwnersRights(uint32_t owner, uint32_t group, FileRights* rights);
  bool AppendToFile(const std::string& name, const std::string& text, std::string* refusal) const;
  // A new file (it must not exist), mode 0600 whatever the umask; -1 with
  // errno.
  int MakeFile(const std::string& name, int flags) const;
  // Opened without following a link; -1 with errno.
  int OpenFile(const std::string& name, int flags) const;
  int fd_ = -1;
  // Whose rights the work here is done with, when not this process's own.
  bool other_user_ = false;
  uint32_t uid_ = 0;
  uint32_t gid_ = 0;
#endif
};

// An exclusive lock on the file `name` in `folder`, made if need be, held
// while the object lives. Another process may hold it as long as it likes,
// stopped even: it is waited for `patience` at most.
class FileLock {
 public:
  FileLock(const Folder& folder, const std::string& name, std::chrono::milliseconds patience);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return error_.empty(); }
  // "stayed locked by another process", or what else kept it.
  const std::string& error() const { return error_; }

 private:
#ifdef _WIN32
  void* file_ = nullptr;
#else
  int fd_ = -1;
#endif
  std::string error_;
};

// The regular file `path` (following links, as Folder::OpenForFile does),
// as Folder::ReadRegularFile.
FileRead ReadRegularFile(const std::string& path, size_t limit, std::string* text,
                         std::string* error);
// False with *error ("cannot be read: ...").
bool ReadWholeFile(const std::string& path, std::string* text, std::string* error);
// One write on a file opened for appending (new files private to their
// owner), so texts of concurrent callers never mix and nothing waits in a
// buffer. A symbolic link there is refused, so that nobody can point the log
// of another user's run at a file of theirs, and so is what is not a regular
// file, without waiting on it: *refusal then says why ("is a symbolic
// link"). The folder is found as Folder::Open finds it.
bool AppendToFile(const std::string& path, const std::string& text, std::string* refusal);
std::string ParentDirectory(const std::string& path);
// What follows the last separator.
std::string BaseName(const std::string& path);

// Shared by the two systems' implementations.
extern const char kLockedElsewhere[];  // "stayed locked by another process"
extern const char kCannotBeLocked[];   // "cannot be locked", before the reason
// The one name a save's temporary file has beside the file it replaces.
std::string TemporaryName(const std::string& name);
enum class BoundedRead { kRead, kTooLarge, kFailed };
// Reads to the end through `read_some` (the bytes it read, 0 at the end,
// negative when it failed, its error then the system's last); kTooLarge
// past `limit` bytes. *text is set only when all was read.
BoundedRead ReadUpTo(size_t limit, std::string* text,
                     const std::function<long long(char*, size_t)>& read_some);
// Writes all of `text` through `write_some` (the bytes it wrote, 0 or less
// when it failed).
bool WriteAll(const std::string& text,
              const std::function<long long(const char*, size_t)>& write_some);

#ifndef _WIN32
// For tests: called with the temporary file's name at each step of a save's
// making it, before any text is written to it.
void SetSaveStepHookForTesting(std::function<void(const std::string& temporary)> hook);
#endif

}  // namespace standin

#endif  // WIRENEST_STANDIN_FILES_H_
