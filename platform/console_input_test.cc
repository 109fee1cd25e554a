#include "platform/console_input.h"

#include <stdio.h>
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

// A pipe that passes its bytes unchanged.
bool MakePipe(int ends[2]) {
#ifdef _WIN32
  return _pipe(ends, 65536, _O_BINARY) == 0;
#else
  return pipe(ends) == 0;
#endif
}

// Standard input read from `fd` while the object lives.
class StandardInputFrom {
 public:
  explicit StandardInputFrom(int fd) : saved_(dup(STDIN_FILENO)) {
    dup2(fd, STDIN_FILENO);
    close(fd);
  }
  ~StandardInputFrom() {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
  }
  StandardInputFrom(const StandardInputFrom&) = delete;
  StandardInputFrom& operator=(const StandardInputFrom&) = delete;

  std::string Rest() {
    std::string rest;
    char block[4096];
    for (ssize_t n; (n = read(STDIN_FILENO, block, sizeof block)) > 0;)
      rest.append(block, n);
    return rest;
  }

 private:
  int saved_;
};

void WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0)
      return;
    done += n;
  }
}

int RegularFileHolding(const std::string& text) {
  FILE* file = tmpfile();
  int fd = dup(fileno(file));
  fclose(file);
  WriteAll(fd, text);
  lseek(fd, 0, SEEK_SET);
  return fd;
}

// The word is taken with the one white-space byte after it, from a regular
// file as from a pipe: whoever reads standard input next gets the rest.
TEST(ReadInputWord, LeavesWhatFollowsTheWord) {
  const std::string long_word(40000, 'x');
  struct Case {
    std::string input, word, rest;
  } cases[] = {
      {"  secret rest", "secret", "rest"},
      {"\n\t secret\nnext line\n", "secret", "next line\n"},
      {"secret", "secret", ""},
      {" \n ", "", ""},
      {"", "", ""},
      {long_word + "  tail", long_word, " tail"},
#ifdef _WIN32
      {"pass\x1Aword rest", "pass", "word rest"},  // Ctrl+Z, as text mode reads it
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.substr(0, 30));
    {
      StandardInputFrom input(RegularFileHolding(c.input));
      EXPECT_EQ(c.word, ReadInputWord());
      EXPECT_EQ(c.rest, input.Rest());
    }
    int ends[2];
    ASSERT_TRUE(MakePipe(ends));
    std::thread writer([&] {
      WriteAll(ends[1], c.input);
      close(ends[1]);
    });
    {
      StandardInputFrom input(ends[0]);
      EXPECT_EQ(c.word, ReadInputWord());
      EXPECT_EQ(c.rest, input.Rest());
    }
    writer.join();
  }
}

// An input open only for writing can never be read: the word ends at once,
// as at the end of the input.
TEST(ReadInputWord, EndsAtOnceOnAnInputOpenOnlyForWriting) {
  int ends[2];
  ASSERT_TRUE(MakePipe(ends));
  {
    StandardInputFrom input(ends[1]);
    EXPECT_EQ("", ReadInputWord());
  }
  close(ends[0]);
}

}  // namespace
