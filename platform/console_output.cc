#include "platform/console_output.h"

#include <stdio.h>

namespace {

std::mutex& OutputLock() {
  // Never destroyed: the library's thread may still print while the process
  // exits.
  static std::mutex& lock = *new std::mutex;
  return lock;
}

// A failed write shows in stdout's error flag, which the exit code reports.
void WriteAndFlush(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

}  // namespace

void PrintText(const std::string& text) {
  std::lock_guard<std::mutex> hold(OutputLock());
  WriteAndFlush(text);
}

void PrintLine(const std::string& text) { PrintText(text + "\n"); }

PromptLine::PromptLine(const std::string& prompt) : hold_(OutputLock()) { WriteAndFlush(prompt); }

PromptLine::~PromptLine() { WriteAndFlush("\n"); }
