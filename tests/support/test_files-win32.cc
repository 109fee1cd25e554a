#include "tests/support/test_files.h"

#include <stdlib.h>
#include <windows.h>

#include <filesystem>
#include <system_error>

TempDir::TempDir() {
  char base[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof base, base);
  if (length == 0 || length > MAX_PATH)
    return;
  static unsigned made = 0;
  for (unsigned tries = 0; tries < 100; ++tries) {
    std::string path = std::string(base) + "wnctl-test-" + std::to_string(GetCurrentProcessId()) +
                       "-" + std::to_string(made++);
    if (CreateDirectoryA(path.c_str(), nullptr)) {
      path_ = path;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS)
      return;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty())
    std::filesystem::remove_all(path_, ignored);
}

// The run time's environment and the process's both: the stand-in reads it
// through getenv.
void ScopedEnvironment::Apply(const std::string& name, const std::optional<std::string>& value) {
  _putenv_s(name.c_str(), value ? value->c_str() : "");
}

bool MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr); }
