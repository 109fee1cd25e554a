#include "tests/support/test_files.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& saved : saved_)
    Apply(saved.first, saved.second);
}

void ScopedEnvironment::Set(const std::string& name, const std::string& value) {
  Remember(name);
  Apply(name, value);
}

void ScopedEnvironment::Unset(const std::string& name) {
  Remember(name);
  Apply(name, std::nullopt);
}

void ScopedEnvironment::Remember(const std::string& name) {
  if (saved_.count(name))
    return;
  saved_[name] = Value(name);
}

// Paths are UTF-8; Windows would read a narrow one in its ANSI code page.
void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(std::filesystem::u8path(path), std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream file(std::filesystem::u8path(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);)
    lines.push_back(line);
  return lines;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}
