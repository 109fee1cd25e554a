#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

std::string RoundTrip(const std::string& text) {
  BSTR wide = NarrowToBstr(text);
  std::string back = BstrToNarrow(wide);
  SysFreeString(wide);
  return back;
}

std::string Narrowed(const OLECHAR* text) {
  BSTR wide = SysAllocString(text);
  std::string narrow = BstrToNarrow(wide);
  SysFreeString(wide);
  return narrow;
}

TEST(Text, AsciiSurvivesTheLibraryBoundary) {
  EXPECT_EQ(RoundTrip(""), "");
  EXPECT_EQ(RoundTrip("plain ascii"), "plain ascii");
  EXPECT_EQ(BstrToNarrow(nullptr), "");
}

TEST(Text, NarrowTextEndsAtItsFirstZero) {
  EXPECT_EQ(RoundTrip(std::string("ab\0cd", 5)), "ab");
  const OLECHAR wide[] = {'a', 'b', 0, 'c', 0};
  BSTR value = SysAllocStringLen(wide, 4);
  EXPECT_EQ(BstrToNarrow(value), "ab");
  SysFreeString(value);
}

TEST(Text, WideTextBecomesUtf8) {
  const OLECHAR accented[] = {'c', 'a', 'f', 0xE9, 0};
  const OLECHAR empty[] = {0};
  EXPECT_EQ(WideToUtf8(accented), "caf\xC3\xA9");
  EXPECT_EQ(WideToUtf8(empty), "");
}

TEST(Text, UnpairedSurrogatesAreSubstituted) {
  const OLECHAR lone_high[] = {'a', 0xD800, 'b', 0};
  const OLECHAR lone_low[] = {0xDC00, 0};
  const OLECHAR pair[] = {0xD83D, 0xDD0C, 0};
  EXPECT_EQ(WideToUtf8(lone_high),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(WideToUtf8(lone_low), "\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8(pair), "\xF0\x9F\x94\x8C");
  EXPECT_EQ(WideToUtf8(nullptr), "");
}

// Whatever a Windows system's code page: text that no ANSI code page holds
// together, a character beyond the BMP among it, goes both ways unchanged.
TEST(Text, LibraryTextIsUtf8BothWays) {
  const struct {
    std::string narrow;
    std::u16string wide;
  } cases[] = {
      {"caf\xC3\xA9", u"caf\u00E9"},
      {"\xD0\x94\xD0\xB0\xD1\x88\xD0\xB0 \xE6\x97\xA5\xE6\x9C\xAC",
       u"\u0414\u0430\u0448\u0430 \u65E5\u672C"},
      {"\xF0\x9F\x94\x8C plug", u"\U0001F50C plug"},  // a surrogate pair
  };
  static_assert(sizeof(char16_t) == sizeof(OLECHAR), "UTF-16 units");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.narrow);
    BSTR wide = NarrowToBstr(c.narrow);
    EXPECT_EQ(c.wide, std::u16string(reinterpret_cast<const char16_t*>(wide)));
    SysFreeString(wide);
    EXPECT_EQ(c.narrow, Narrowed(reinterpret_cast<const OLECHAR*>(c.wide.c_str())));
  }
}

#ifndef _WIN32
// Windows' own conversion substitutes invalid input by rules of its own;
// valid UTF-8 crosses there as here.
TEST(Text, InvalidSequencesAreSubstituted) {
  const std::string kReplacement = "\xEF\xBF\xBD";
  struct Case {
    std::string input;
    std::string output;
  } cases[] = {
      {"a\xFF"
       "b",
       "a" + kReplacement + "b"},
      {"\xC3", kReplacement},                                        // truncated
      {"\xC0\xAF", kReplacement + kReplacement},                     // overlong
      {"\xED\xA0\x80", kReplacement + kReplacement + kReplacement},  // a surrogate
      {"\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},
      {"x\xE2\x82", "x" + kReplacement + kReplacement},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RoundTrip(c.input), c.output);
}
#endif  // !_WIN32

}  // namespace
