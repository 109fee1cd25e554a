#include "tests/support/test_files.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

}  // namespace

TempDir::TempDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/wnctl-test-XXXXXX";
  if (mkdtemp(&pattern[0]))
    path_ = pattern;
}

TempDir::~TempDir() {
  if (!path_.empty())
    nftw(path_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void ScopedEnvironment::Apply(const std::string& name, const std::optional<std::string>& value) {
  if (value)
    setenv(name.c_str(), value->c_str(), 1);
  else
    unsetenv(name.c_str());
}

std::optional<std::string> ScopedEnvironment::Value(const std::string& name) {
  const char* value = getenv(name.c_str());
  return value ? std::optional<std::string>(value) : std::nullopt;
}

unsigned FileMode(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return 0;
  return info.st_mode & 07777;
}

bool MakeDirectory(const std::string& path) { return mkdir(path.c_str(), 0700) == 0; }

bool MakeHardLink(const std::string& existing, const std::string& name) {
  return link(existing.c_str(), name.c_str()) == 0;
}
