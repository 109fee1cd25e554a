#include "tests/support/loaded_library.h"

#include <windows.h>

#include <filesystem>

LoadedLibrary::LoadedLibrary(const std::string& path)
    : handle_(LoadLibraryW(std::filesystem::u8path(path).wstring().c_str())) {
  if (!handle_)
    error_ = "error " + std::to_string(GetLastError());
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_)
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LoadedLibrary::Find(const char* name) const {
  if (!handle_)
    return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string BesideThisProgram(const std::string& name) {
  wchar_t program[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::filesystem::path folder =
      std::filesystem::path(std::wstring(program, length)).parent_path();
  return (folder / std::filesystem::u8path(name)).u8string();
}
