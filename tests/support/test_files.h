// Files and environment for the tests. Paths and values are UTF-8 text, on
// Windows too.
#ifndef WNCTL_TESTS_SUPPORT_TEST_FILES_H_
#define WNCTL_TESTS_SUPPORT_TEST_FILES_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

// A fresh directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Environment variables set for a while, as they were again afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  void Set(const std::string& name, const std::string& value);
  void Unset(const std::string& name);

 private:
  void Remember(const std::string& name);
  // The variable's value; none when it is not set.
  static std::optional<std::string> Value(const std::string& name);
  // Sets the variable, or unsets it for no value.
  static void Apply(const std::string& name, const std::optional<std::string>& value);
  std::map<std::string, std::optional<std::string>> saved_;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);  // empty when missing
std::vector<std::string> ReadLines(const std::string& path);
bool FileExists(const std::string& path);
bool MakeDirectory(const std::string& path);  // usable by its owner alone where modes exist
// A second name for the file `existing`.
bool MakeHardLink(const std::string& existing, const std::string& name);
#ifndef _WIN32
unsigned FileMode(const std::string& path);  // the permission bits; 0 when missing
#endif

#endif  // WNCTL_TESTS_SUPPORT_TEST_FILES_H_
