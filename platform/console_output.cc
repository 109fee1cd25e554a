#include "platform/console_output.h"

namespace {

std::mutex& OutputLock() {
  // Never destroyed: the library's thread may still print while the process
  // exits.
  static std::mutex& lock = *new std::mutex;
  return lock;
}

}  // namespace

void PrintText(const std::string& text) {
  std::lock_guard<std::mutex> hold(OutputLock());
  WriteStandardOutput(text);
}

void PrintLine(const std::string& text) { PrintText(text + "\n"); }

PromptLine::PromptLine(const std::string& prompt) : hold_(OutputLock()) {
  WriteStandardOutput(prompt);
}

PromptLine::~PromptLine() { WriteStandardOutput("\n"); }
