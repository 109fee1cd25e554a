#include "frontend/library/invite_runners.h"

#include <gtest/gtest.h>

namespace {

// Only A-Z fold: the neighbours of the letters that differ from each other
// by 0x20 ("@" and "`", "[" and "{"), and Latin-1 or UTF-8 capitals, stay
// apart.
TEST(EqualsIgnoringAsciiCase, FoldsOnlyAsciiLetters) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"", "", true},
      {"Bob@Example.COM", "bob@example.com", true},
      {"AZaz09", "azAZ09", true},
      {"bob@example.com", "bob@example.com ", false},
      {"bob", "bo", false},
      {"@", "`", false},
      {"[", "{", false},
      {"]", "}", false},
      {"\xC0", "\xE0", false},          // Latin-1 A grave, a grave
      {"\xC3\x89", "\xC3\xA9", false},  // UTF-8 E acute, e acute
      {"\xC3\x89", "\xC3\x89", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.equal, EqualsIgnoringAsciiCase(c.a, c.b)) << c.a << " / " << c.b;
    EXPECT_EQ(c.equal, EqualsIgnoringAsciiCase(c.b, c.a)) << c.b << " / " << c.a;
  }
}

}  // namespace
