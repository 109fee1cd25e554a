// A Windows program for the black-box tests: runs the command line after its
// own name at its console, as an interactive cmd does, outliving a Ctrl+C
// there (Wine's cmd does not), and then prints how the command ended and
// whether the console echoes: "exit code 0, echo on".
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>
#include <windows.h>

namespace {

BOOL WINAPI Outlive(DWORD /*control*/) { return TRUE; }

// The command line without the first word, this program's name.
const wchar_t* CommandAfterOwnName(const wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line && *line != L'"')
      ++line;
    if (*line)
      ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t')
      ++line;
  }
  while (*line == L' ' || *line == L'\t')
    ++line;
  return line;
}

class ProcessHandles {
 public:
  ProcessHandles() = default;
  ~ProcessHandles() {
    if (info_.hProcess)
      CloseHandle(info_.hProcess);
    if (info_.hThread)
      CloseHandle(info_.hThread);
  }
  ProcessHandles(const ProcessHandles&) = delete;
  ProcessHandles& operator=(const ProcessHandles&) = delete;
  PROCESS_INFORMATION* get() { return &info_; }
  HANDLE process() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_ = {};
};

}  // namespace

int wmain() {
  SetConsoleCtrlHandler(Outlive, TRUE);
  // CreateProcessW may write to the command line it is given.
  wchar_t* command = _wcsdup(CommandAfterOwnName(GetCommandLineW()));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  ProcessHandles child;
  const BOOL started = CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, child.get());
  free(command);
  if (!started) {
    printf("cannot start the command: error %lu\n", GetLastError());
    return 1;
  }
  WaitForSingleObject(child.process(), INFINITE);
  DWORD exit_code = 0;
  GetExitCodeProcess(child.process(), &exit_code);
  DWORD mode = 0;
  GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode);
  printf("exit code %lu, echo %s\n", exit_code, (mode & ENABLE_ECHO_INPUT) ? "on" : "off");
  return 0;
}
