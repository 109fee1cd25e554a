#ifndef WIRENEST_STANDIN_FILES_H_
#define WIRENEST_STANDIN_FILES_H_

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

bool WriteAll(int fd, const std::string& text);
// One write on a file opened for appending (mode 0600 when new), so texts of
// concurrent callers never mix and nothing waits in a buffer.
bool AppendToFile(const std::string& path, const std::string& text);
// False with *error set to errno when the file cannot be read.
bool ReadWholeFile(const std::string& path, std::string* text, int* error);
// Like mkdir -p, new directories with mode 0700.
bool MakeDirectories(const std::string& path);
std::string ParentDirectory(const std::string& path);

}  // namespace standin

#endif  // WIRENEST_STANDIN_FILES_H_
