#include "wirenest/standin/files.h"

#include <windows.h>

#include <algorithm>

#include "platform/text.h"
#include "wirenest/standin/retry.h"

namespace standin {

namespace {

// Paths are UTF-8, as the environment gives them (environment.h), and go to
// the system wide: the ANSI code page would lose what it lacks.
std::wstring Widen(const std::string& text) {
  if (text.empty())
    return std::wstring();
  int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
  return wide;
}

// The system's words, in UTF-8 like the path they follow.
std::string SystemError(const char* what, DWORD error) {
  wchar_t* message = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text = message ? WideToUtf8(message) : "error " + std::to_string(error);
  LocalFree(message);
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' '))
    text.pop_back();
  return std::string(what) + ": " + text;
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    if (!valid())
      return true;
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, const std::string& text) {
  return standin::WriteAll(text, [file](const char* data, size_t size) -> long long {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1 << 20));
    return WriteFile(file, data, chunk, &n, nullptr) ? n : -1;
  });
}

// `file` is open on what is to be read, or invalid with the error set.
FileRead ReadOpenedFile(const Handle& file, size_t limit, std::string* text, std::string* error) {
  if (!file.valid()) {
    const DWORD open_error = GetLastError();
    *error = SystemError("cannot be read", open_error);
    return open_error == ERROR_FILE_NOT_FOUND || open_error == ERROR_PATH_NOT_FOUND
               ? FileRead::kMissing
               : FileRead::kFailed;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
    *error = "is not a regular file";
    return FileRead::kFailed;
  }
  const unsigned long long size =
      (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (size > limit) {
    *error = "cannot be read: File too large";
    return FileRead::kFailed;
  }
  DWORD read_error = 0;
  const BoundedRead result =
      ReadUpTo(limit, text, [&](char* buffer, size_t buffer_size) -> long long {
        DWORD n = 0;
        if (ReadFile(file.get(), buffer, static_cast<DWORD>(buffer_size), &n, nullptr))
          return n;
        read_error = GetLastError();
        return -1;
      });
  if (result == BoundedRead::kFailed)
    *error = SystemError("cannot be read", read_error);
  else if (result == BoundedRead::kTooLarge)
    *error = "cannot be read: File too large";
  return result == BoundedRead::kRead ? FileRead::kRead : FileRead::kFailed;
}

// A folder opens too, to be found no regular file rather than refused.
HANDLE OpenForReading(const std::wstring& path, DWORD flags) {
  return CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                     flags | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool MakeFolders(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      return true;
    SetLastError(ERROR_DIRECTORY);
    return false;
  }
  size_t separator = path.find_last_of(L"/\\");
  if (separator != std::wstring::npos && separator > 0 && !MakeFolders(path.substr(0, separator)))
    return false;
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// A reader or a scanner may hold the file a moment; renaming over it then
// waits a little rather than losing the change.
bool MoveIntoPlace(const std::wstring& from, const std::wstring& to) {
  DWORD error = 0;
  const Attempt moved = RetryWhileBusy(std::chrono::milliseconds(1000), [&] {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return Attempt::kDone;
    error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? Attempt::kBusy
                                                                            : Attempt::kFailed;
  });
  SetLastError(error);
  return moved == Attempt::kDone;
}

}  // namespace

Folder::~Folder() {
  if (handle_)
    CloseHandle(handle_);
}

bool Folder::Open(const std::string& path, bool make_missing, std::string* error) {
  const std::wstring wide = Widen(path.empty() ? std::string(".") : path);
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  size = size ? GetFullPathNameW(wide.c_str(), size, &full[0], nullptr) : 0;
  if (size == 0) {
    *error = SystemError("cannot be written", GetLastError());
    return false;
  }
  full.resize(size);
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
    full.pop_back();
  if (make_missing && !MakeFolders(full)) {
    *error = SystemError("cannot be written", GetLastError());
    return false;
  }
  // Held without FILE_SHARE_DELETE: the folder can be neither moved nor
  // removed while its files are changed.
  HANDLE handle =
      CreateFileW(full.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    *error = SystemError("cannot be written", GetLastError());
    return false;
  }
  if (handle_)
    CloseHandle(handle_);
  handle_ = handle;
  path_ = full;
  if (path_.back() != L'\\' && path_.back() != L'/')
    path_ += L'\\';
  return true;
}

// Windows follows a link when the file is opened; the state's folder is
// found from the path as it is.
bool Folder::OpenForFile(const std::string& path, bool make_missing, std::string* name,
                         std::string* error) {
  *name = BaseName(path);
  return Open(ParentDirectory(path), make_missing, error);
}

FileRead Folder::ReadRegularFile(const std::string& name, size_t limit, std::string* text,
                                 FileKeeps* keeps, std::string* error) const {
  Handle file(OpenForReading(path_ + Widen(name), FILE_FLAG_OPEN_REPARSE_POINT));
  FileRead read = ReadOpenedFile(file, limit, text, error);
  if (keeps && read == FileRead::kRead)
    keeps->existed = true;
  return read;
}

bool Folder::SaveFile(const std::string& name, const std::string& text, const FileKeeps&,
                      std::string* error) const {
  const std::wstring target = path_ + Widen(name);
  const std::wstring temporary = path_ + Widen(TemporaryName(name));
  DeleteFileW(temporary.c_str());
  Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    *error = SystemError("cannot be written", GetLastError());
    return false;
  }
  if (!WriteAll(file.get(), text) || !FlushFileBuffers(file.get()) || !file.Close() ||
      !MoveIntoPlace(temporary, target)) {
    *error = SystemError("cannot be written", GetLastError());
    DeleteFileW(temporary.c_str());
    return false;
  }
  // Read back: a save that did not arrive whole is no save.
  std::string saved, read_error;
  if (ReadOpenedFile(Handle(OpenForReading(target, FILE_FLAG_OPEN_REPARSE_POINT)), text.size(),
                     &saved, &read_error) != FileRead::kRead ||
      saved != text) {
    *error = "cannot be written: the file read back is not what was written";
    return false;
  }
  return true;
}

FileLock::FileLock(const Folder& folder, const std::string& name,
                   std::chrono::milliseconds patience) {
  const std::wstring path = folder.path_ + Widen(name);
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = SystemError(kCannotBeLocked, GetLastError());
    return;
  }
  file_ = file;
  DWORD lock_error = 0;
  const Attempt locked = RetryWhileBusy(patience, [&] {
    OVERLAPPED start = {};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start))
      return Attempt::kDone;
    lock_error = GetLastError();
    return lock_error == ERROR_LOCK_VIOLATION || lock_error == ERROR_IO_PENDING ? Attempt::kBusy
                                                                                : Attempt::kFailed;
  });
  if (locked == Attempt::kBusy)
    error_ = kLockedElsewhere;
  else if (locked == Attempt::kFailed)
    error_ = SystemError(kCannotBeLocked, lock_error);
}

FileLock::~FileLock() {
  if (file_)
    CloseHandle(file_);
}

FileRead ReadRegularFile(const std::string& path, size_t limit, std::string* text,
                         std::string* error) {
  return ReadOpenedFile(Handle(OpenForReading(Widen(path), 0)), limit, text, error);
}

bool ReadWholeFile(const std::string& path, std::string* text, std::string* error) {
  Handle file(OpenForReading(Widen(path), 0));
  return ReadOpenedFile(file, SIZE_MAX, text, error) == FileRead::kRead;
}

bool AppendToFile(const std::string& path, const std::string& text, std::string* refusal) {
  // Appending only: each write lands at the end, whoever else appends.
  Handle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, kShareAll,
                          nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (file.valid() && GetFileInformationByHandle(file.get(), &info) &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    *refusal = "is a symbolic link";
    return false;
  }
  return file.valid() && WriteAll(file.get(), text) && file.Close();
}

}  // namespace standin
