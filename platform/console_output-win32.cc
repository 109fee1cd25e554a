#include "platform/console_output.h"

#include <stdio.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <streambuf>

namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode;
  return GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode);
}

// Older consoles refuse a long write: the text goes in pieces.
const size_t kConsolePiece = 8192;

// The UTF-8 text as UTF-16 characters, each line end as CR LF, as text mode
// writes it to a file. False when the console takes not all of it.
bool WriteToConsole(HANDLE console, const char* text, size_t size) {
  std::wstring wide;
  if (size > 0) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0);
    wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
    if (length > 0)
      MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), &wide[0], length);
  }
  std::wstring lines;
  lines.reserve(wide.size() + wide.size() / 16);
  for (wchar_t c : wide) {
    if (c == L'\n')
      lines += L'\r';
    lines += c;
  }
  for (size_t done = 0; done < lines.size();) {
    size_t piece = std::min(lines.size() - done, kConsolePiece);
    // A surrogate pair stays whole.
    if (piece < lines.size() - done && IS_HIGH_SURROGATE(lines[done + piece - 1]))
      --piece;
    DWORD written = 0;
    if (!WriteConsoleW(console, lines.data() + done, static_cast<DWORD>(piece), &written,
                       nullptr) ||
        written == 0)
      return false;
    done += written;
  }
  return true;
}

// The bytes at the end of `text` that begin a UTF-8 character whose other
// bytes are still to come.
size_t UnfinishedTail(const std::string& text) {
  for (size_t back = 1; back <= std::min<size_t>(3, text.size()); ++back) {
    const unsigned char c = static_cast<unsigned char>(text[text.size() - back]);
    if ((c & 0xC0) == 0x80)
      continue;
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

// std::cout's buffer at a console: what comes goes out at once, but for a
// character cut short, which waits for its end.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  std::streamsize xsputn(const char* text, std::streamsize size) override {
    std::lock_guard<std::mutex> hold(lock_);
    pending_.append(text, static_cast<size_t>(size));
    const size_t ready = pending_.size() - UnfinishedTail(pending_);
    const bool written = WriteToConsole(console_, pending_.data(), ready);
    pending_.erase(0, ready);
    return written ? size : 0;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof()))
      return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
  }
  int sync() override {
    std::lock_guard<std::mutex> hold(lock_);
    const bool written = WriteToConsole(console_, pending_.data(), pending_.size());
    pending_.clear();
    return written ? 0 : -1;
  }

 private:
  const HANDLE console_;
  std::mutex lock_;
  std::string pending_;
};

// Set once at start-up, before any other thread runs.
ConsoleBuffer* g_console_output = nullptr;

}  // namespace

void SetUpConsoleOutput() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (g_console_output || !IsConsole(output))
    return;
  fflush(stdout);
  // Never destroyed: the library's thread may still print while the process
  // exits, and std::cout is flushed last of all.
  g_console_output = new ConsoleBuffer(output);
  std::cout.rdbuf(g_console_output);
}

// Through std::cout, whose state then tells a failed write at a console, as
// stdout's error flag tells one elsewhere.
void WriteStandardOutput(const std::string& text) {
  if (g_console_output) {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    return;
  }
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

void WriteStandardError(const std::string& text) {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (IsConsole(error)) {
    fflush(stderr);
    WriteToConsole(error, text.data(), text.size());
    return;
  }
  fwrite(text.data(), 1, text.size(), stderr);
  fflush(stderr);
}
