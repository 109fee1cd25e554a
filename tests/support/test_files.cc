#include "tests/support/test_files.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

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

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& saved : saved_) {
    if (saved.second)
      setenv(saved.first.c_str(), saved.second->c_str(), 1);
    else
      unsetenv(saved.first.c_str());
  }
}

void ScopedEnvironment::Set(const std::string& name, const std::string& value) {
  Remember(name);
  setenv(name.c_str(), value.c_str(), 1);
}

void ScopedEnvironment::Unset(const std::string& name) {
  Remember(name);
  unsetenv(name.c_str());
}

void ScopedEnvironment::Remember(const std::string& name) {
  if (saved_.count(name))
    return;
  const char* value = getenv(name.c_str());
  saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);)
    lines.push_back(line);
  return lines;
}

unsigned FileMode(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return 0;
  return info.st_mode & 07777;
}
