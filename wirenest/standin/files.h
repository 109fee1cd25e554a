#ifndef WIRENEST_STANDIN_FILES_H_
#define WIRENEST_STANDIN_FILES_H_

#include <stddef.h>

#include <chrono>
#include <string>
#include <vector>

namespace standin {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }
  void Reset(int fd);
  // Gives the descriptor up, unclosed.
  int Release();
  // Closes now, for the writers that must know whether it worked.
  bool Close();

 private:
  int fd_;
};

// A folder held open: whatever its path comes to name meanwhile, what is
// made, opened, renamed or removed through it happens in this very folder,
// and what is made in it goes to this folder's owner. Nothing here looks a
// name up twice.
class Folder {
 public:
  Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Opens the folder `path` names. Symbolic links in the part that exists
  // now are followed once, to find it; after that, no step follows one. With
  // `make_missing`, missing folders are made on the way, each with mode 0700
  // whatever the umask and given to the owner of the folder it is made in,
  // as GiveToOwner. False with errno set.
  bool Open(const std::string& path, bool make_missing);
  int fd() const { return fd_.get(); }

  // `name` in this folder, opened without following a link; -1 with errno.
  int OpenFile(const std::string& name, int flags) const;
  // A new file `name` (it must not exist), mode 0600 whatever the umask,
  // given to this folder's owner; -1 with errno.
  int MakeFile(const std::string& name, int flags) const;
  bool Rename(const std::string& from, const std::string& to) const;
  void Remove(const std::string& name) const;
  // Empty when the folder cannot be read.
  std::vector<std::string> Names() const;
  // A file or folder just made in this folder, open as `fd`, goes to the
  // folder's owner and group when that is another user, where this process
  // may give it away: root's run in a user's home (sudo -E) must not lock
  // the user out of their own files. Elsewhere it stays this process's.
  void GiveToOwner(int fd) const;

 private:
  bool MakeFolder(const std::string& name);
  FileDescriptor fd_;
};

// An exclusive advisory lock (flock) on the file `name` in `folder`, made
// if need be (as Folder::MakeFile), held while the object lives. Another
// process may hold it as long as it likes, stopped even: it is waited for
// `patience` at most.
class FileLock {
 public:
  FileLock(const Folder& folder, const std::string& name, std::chrono::milliseconds patience);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return error_ == 0; }
  // errno when not held; EWOULDBLOCK when another held it all the while.
  int error() const { return error_; }

 private:
  FileDescriptor file_;
  int error_ = 0;
};

bool WriteAll(int fd, const std::string& text);
// One write on a file opened for appending (mode 0600 when new), so texts of
// concurrent callers never mix and nothing waits in a buffer. A symbolic
// link there is refused (ELOOP), so that nobody can point the log of
// another user's run at a file of theirs. False with errno set.
bool AppendToFile(const std::string& path, const std::string& text);
// False with *error set to errno when the file cannot be read.
bool ReadWholeFile(const std::string& path, std::string* text, int* error);
// Reads to the end; more than `limit` bytes fail with EFBIG.
bool ReadAll(int fd, size_t limit, std::string* text, int* error);
// The file a chain of symbolic links ends at, which need not exist; false
// with errno set when a link cannot be read or the chain is too long.
bool FollowLinks(const std::string& path, std::string* target);
std::string ParentDirectory(const std::string& path);
// What follows the last slash.
std::string BaseName(const std::string& path);

}  // namespace standin

#endif  // WIRENEST_STANDIN_FILES_H_
