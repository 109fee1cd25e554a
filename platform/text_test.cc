#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

std::string RoundTrip(const std::string& text) {
  BSTR wide = NarrowToBstr(text);
  std::string back = BstrToNarrow(wide);
  SysFreeString(wide);
  return back;
}

TEST(Text, Utf8SurvivesTheLibraryBoundary) {
  EXPECT_EQ(RoundTrip(""), "");
  EXPECT_EQ(RoundTrip("plain ascii"), "plain ascii");
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

TEST(Text, NarrowTextEndsAtItsFirstZero) { EXPECT_EQ(RoundTrip(std::string("ab\0cd", 5)), "ab"); }

}  // namespace
