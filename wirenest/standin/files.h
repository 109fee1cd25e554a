#ifndef WIRENEST_STANDIN_FILES_H_
#define WIRENEST_STANDIN_FILES_H_

#include <stddef.h>

#include <chrono>
#include <string>

namespace standin {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }
  // Closes now, for the writers that must know whether it worked.
  bool Close();

 private:
  int fd_;
};

// An exclusive advisory lock (flock) on a file made if need be with mode
// 0600 (and given to its folder's owner, as GiveToFolderOwner), held while
// the object lives. Another process may hold it as long as it likes,
// stopped even: it is waited for `patience` at most.
class FileLock {
 public:
  FileLock(const std::string& path, std::chrono::milliseconds patience);
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
// concurrent callers never mix and nothing waits in a buffer.
bool AppendToFile(const std::string& path, const std::string& text);
// False with *error set to errno when the file cannot be read.
bool ReadWholeFile(const std::string& path, std::string* text, int* error);
// Reads to the end; more than `limit` bytes fail with EFBIG.
bool ReadAll(int fd, size_t limit, std::string* text, int* error);
// The file a chain of symbolic links ends at, which need not exist; false
// with errno set when a link cannot be read or the chain is too long.
bool FollowLinks(const std::string& path, std::string* target);
// Like mkdir -p, new directories with mode 0700, each given to the owner of
// the folder it is made in, as GiveToFolderOwner.
bool MakeDirectories(const std::string& path);
// A file just made, open as `fd`, goes to the owner and group of the folder
// `path` is in when that is another user, where this process may give it
// away: root's run in a user's home (sudo -E) must not lock the user out of
// their own files. Elsewhere it stays this process's.
void GiveToFolderOwner(int fd, const std::string& path);
std::string ParentDirectory(const std::string& path);

}  // namespace standin

#endif  // WIRENEST_STANDIN_FILES_H_
