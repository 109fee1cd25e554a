#include "platform/program_entry.h"

#include <stdio.h>
#include <windows.h>

#include "platform/console_output.h"
#include "platform/text.h"

namespace {

// What an application framework would be told at start-up; nothing of the
// program reads it.
struct Application {
  HMODULE instance = nullptr;
  const wchar_t* command_line = nullptr;  // whole, as the process got it
};

}  // namespace

// Standard output stays in text mode: each line end reaches a pipe or a file
// as CR LF, after the UTF-8 text's bytes; a console shows its characters.
int wmain(int argc, wchar_t** argv) {
  HMODULE instance = GetModuleHandleW(nullptr);
  if (!instance) {
    fputs("Fatal Error: GetModuleHandle failed\n", stdout);
    return 1;
  }
  // Made after the answer event and the last answer, which the front end
  // makes before wmain runs, so that it goes before them at exit.
  static Application application;
  application.instance = instance;
  application.command_line = GetCommandLineW();
  std::deque<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.push_back(WideToUtf8(argv[i]));
  SetUpConsoleOutput();
  return RunProgram(arguments);
}
