#include "tests/support/lock_holder.h"

#include <windows.h>

LockHolder::LockHolder(const std::string& path, unsigned) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return;
  file_ = file;
  OVERLAPPED start = {};
  held_ = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &start) != 0;
}

LockHolder::~LockHolder() { Release(); }

void LockHolder::Release() {
  if (file_)
    CloseHandle(file_);
  file_ = nullptr;
  held_ = false;
}
