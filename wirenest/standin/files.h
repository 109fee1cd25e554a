// The stand-in's files: the state file's folder and lock, whole reads and
// replacements, and the call log. Errors come as texts that say what failed
// ("cannot be read: ...").
#ifndef WIRENEST_STANDIN_FILES_H_
#define WIRENEST_STANDIN_FILES_H_

#include <stddef.h>
#include <stdint.h>

#include <chrono>
#include <string>

namespace standin {

enum class FileRead { kRead, kMissing, kFailed };

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

  // Opens the folder `path` names. Symbolic links in the part that exists
  // now are followed once, to find it. With `make_missing`, missing folders
  // are made on the way, each usable by its owner alone (mode 0700 whatever
  // the umask) and given to the owner of the folder it is made in, as
  // the folder's own files are. False with *error ("cannot be written: ...").
  bool Open(const std::string& path, bool make_missing, std::string* error);

  // The regular file `name`, of at most `limit` bytes; one that is not
  // regular is refused without waiting on it. *keeps says what its
  // replacement keeps.
  FileRead ReadRegularFile(const std::string& name, size_t limit, std::string* text,
                           FileKeeps* keeps, std::string* error) const;
  // Writes `text` to a temporary file beside `name`, gives it what `keeps`
  // says (or mode 0600 and this folder's owner for a new file) and puts it
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
  // A file or folder just made in this folder goes to the folder's owner and
  // group when that is another user, where this process may give it away:
  // root's run in a user's home (sudo -E) must not lock the user out of
  // their own files. Elsewhere it stays this process's.
  void GiveToOwner(int fd) const;
  // A new file (it must not exist), mode 0600 whatever the umask, given to
  // this folder's owner; -1 with errno.
  int MakeFile(const std::string& name, int flags) const;
  // Opened without following a link; -1 with errno.
  int OpenFile(const std::string& name, int flags) const;
  bool MakeFolder(const std::string& name);
  int fd_ = -1;
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

// The regular file `path` (following links), as Folder::ReadRegularFile.
FileRead ReadRegularFile(const std::string& path, size_t limit, std::string* text,
                         std::string* error);
// False with *error ("cannot be read: ...").
bool ReadWholeFile(const std::string& path, std::string* text, std::string* error);
// One write on a file opened for appending (new files private to their
// owner), so texts of concurrent callers never mix and nothing waits in a
// buffer. A symbolic link there is refused, *link_refused then set, so that
// nobody can point the log of another user's run at a file of theirs.
bool AppendToFile(const std::string& path, const std::string& text, bool* link_refused);
// The file a chain of symbolic links ends at, which need not exist; false
// with *error when a link cannot be read or the chain is too long.
bool FollowLinks(const std::string& path, std::string* target, std::string* error);
std::string ParentDirectory(const std::string& path);
// What follows the last separator.
std::string BaseName(const std::string& path);

}  // namespace standin

#endif  // WIRENEST_STANDIN_FILES_H_
