// Standard output, shared by the main thread and the library's thread. Each
// call writes its whole text under one lock and flushes it, so that no line
// of one thread lands inside a line of the other. Text is UTF-8.
#ifndef WNCTL_PLATFORM_CONSOLE_OUTPUT_H_
#define WNCTL_PLATFORM_CONSOLE_OUTPUT_H_

#include <mutex>
#include <string>

// The text and its end of line.
void PrintLine(const std::string& text);

// The text as it is: whole lines, each ending in its own line end.
void PrintText(const std::string& text);

// The system's part: the whole text to standard output, or to standard
// error, flushed. A file or a pipe gets the bytes (on Windows in text mode,
// each line end as CR LF); a Windows console, which would read bytes in its
// code page, gets the UTF-8 text's characters.
void WriteStandardOutput(const std::string& text);
void WriteStandardError(const std::string& text);

#ifdef _WIN32
// Where standard output is a console, the text of the C++ stream std::cout
// goes to it as characters too, as WriteStandardOutput's does, through
// std::cout. Once, at start-up, before anything is printed; never undone.
void SetUpConsoleOutput();
#endif

// A line that input completes: the prompt goes out at once, its end of line
// when the object goes, and lines of other threads wait in between. The
// owner's thread prints nothing else meanwhile.
class PromptLine {
 public:
  explicit PromptLine(const std::string& prompt);
  ~PromptLine();
  PromptLine(const PromptLine&) = delete;
  PromptLine& operator=(const PromptLine&) = delete;

 private:
  std::unique_lock<std::mutex> hold_;
};

#endif  // WNCTL_PLATFORM_CONSOLE_OUTPUT_H_
