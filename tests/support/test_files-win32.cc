#include "tests/support/test_files.h"

#include <stdlib.h>
#include <windows.h>

#include <filesystem>
#include <system_error>

// Paths and values are UTF-8, as the stand-in takes them, and go to the
// system wide.
namespace {

std::wstring Widen(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(size > 0 ? static_cast<size_t>(size) : 1, L'\0');
  if (size > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], size);
  wide.resize(wide.size() - 1);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? static_cast<size_t>(size) : 1, '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], size, nullptr, nullptr);
  text.resize(text.size() - 1);
  return text;
}

}  // namespace

TempDir::TempDir() {
  wchar_t base[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, base);
  if (length == 0 || length > MAX_PATH)
    return;
  static unsigned made = 0;
  for (unsigned tries = 0; tries < 100; ++tries) {
    std::string path = Narrow(base) + "wnctl-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(made++);
    if (CreateDirectoryW(Widen(path).c_str(), nullptr)) {
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
    std::filesystem::remove_all(std::filesystem::u8path(path_), ignored);
}

// The process's environment, which the stand-in reads, and the run time's,
// for getenv.
void ScopedEnvironment::Apply(const std::string& name, const std::optional<std::string>& value) {
  const std::wstring wide_name = Widen(name);
  SetEnvironmentVariableW(wide_name.c_str(), value ? Widen(*value).c_str() : nullptr);
  _wputenv_s(wide_name.c_str(), value ? Widen(*value).c_str() : L"");
}

std::optional<std::string> ScopedEnvironment::Value(const std::string& name) {
  const std::wstring wide_name = Widen(name);
  const DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0)
    return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(wide_name.c_str(), &value[0], size));
  return Narrow(value);
}

bool MakeDirectory(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr);
}

bool MakeHardLink(const std::string& existing, const std::string& name) {
  return CreateHardLinkW(Widen(name).c_str(), Widen(existing).c_str(), nullptr);
}
