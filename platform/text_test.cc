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

#ifdef _WIN32

UINT ThreadCodePage() {
  CPINFOEXW info;
  return GetCPInfoExW(CP_THREAD_ACP, 0, &info) ? info.CodePage : 0;
}

// UTF-8 bytes go to the library as characters of the code page and come back
// as the same bytes; text from the library is in the code page.
TEST(Text, LibraryTextIsInTheThreadsCodePage) {
  if (ThreadCodePage() != 1252)
    GTEST_SKIP() << "the cases are those of code page 1252, not " << ThreadCodePage();
  const OLECHAR accented[] = {'c', 'a', 'f', 0xE9, 0};
  const OLECHAR lacking[] = {'x', 0x4E00, 0};  // a CJK ideograph
  EXPECT_EQ(RoundTrip("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(Narrowed(accented), "caf\xE9");
  EXPECT_EQ(Narrowed(lacking), "x?");
  BSTR wide = NarrowToBstr("caf\xE9");
  EXPECT_EQ(std::wstring(wide), std::wstring(accented));
  SysFreeString(wide);
}

#else  // !_WIN32

TEST(Text, Utf8SurvivesTheLibraryBoundary) {
  const OLECHAR accented[] = {'c', 'a', 'f', 0xE9, 0};
  EXPECT_EQ(Narrowed(accented), "caf\xC3\xA9");
  EXPECT_EQ(RoundTrip("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(RoundTrip("\xF0\x9F\x94\x8C plug"), "\xF0\x9F\x94\x8C plug");  // a surrogate pair
}

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

#endif  // _WIN32

}  // namespace
