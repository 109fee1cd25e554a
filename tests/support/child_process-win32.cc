#include "tests/support/child_process.h"

#include <windows.h>

#include "tests/support/test_files.h"

ChildProcess::ChildProcess(const std::string& test, const std::string& variable,
                           const std::string& value) {
  ScopedEnvironment environment;
  environment.Set(variable, value);
  wchar_t program[MAX_PATH];
  if (!GetModuleFileNameW(nullptr, program, MAX_PATH))
    return;
  std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=" +
                         std::wstring(test.begin(), test.end());
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE nothing =
      CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nothing;
  PROCESS_INFORMATION started = {};
  if (CreateProcessW(program, &command[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                     nullptr, &startup, &started)) {
    process_ = started.hProcess;
    thread_ = started.hThread;
  }
  CloseHandle(nothing);
}

ChildProcess::~ChildProcess() {
  if (!process_)
    return;
  TerminateProcess(process_, 1);
  CloseHandle(thread_);
  CloseHandle(process_);
}

void ChildProcess::Resume() {
  if (thread_)
    ResumeThread(thread_);
}

int ChildProcess::ExitCode() {
  DWORD code = 0;
  if (!process_ || WaitForSingleObject(process_, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process_, &code))
    return -1;
  return static_cast<int>(code);
}
