#include "fuzz/standard_streams.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <iostream>

namespace {

// An in-memory file in place of `fd`, made on first use.
int MemoryFileFor(int fd, const char* name, int* memory) {
  if (*memory < 0) {
    *memory = memfd_create(name, 0);
    if (*memory < 0 || dup2(*memory, fd) < 0) {
      perror(name);
      abort();
    }
  }
  return fd;
}

int g_output = -1;
int g_input = -1;

void Empty(int fd) {
  if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0)
    abort();
}

}  // namespace

void BeginCapturingOutput() {
  fflush(stdout);
  Empty(MemoryFileFor(STDOUT_FILENO, "stdout", &g_output));
}

std::string TakeCapturedOutput() {
  fflush(stdout);
  std::string text(static_cast<size_t>(lseek(STDOUT_FILENO, 0, SEEK_CUR)), '\0');
  if (pread(STDOUT_FILENO, &text[0], text.size(), 0) != static_cast<ssize_t>(text.size()))
    abort();
  Empty(STDOUT_FILENO);
  return text;
}

void SetStandardInput(const std::string& text) {
  int fd = MemoryFileFor(STDIN_FILENO, "stdin", &g_input);
  Empty(fd);
  if (pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size()))
    abort();
  // The stream's buffer, end mark and failure state go with the old content.
  fseek(stdin, 0, SEEK_SET);
  clearerr(stdin);
  std::cin.clear();
}
