#include "cmdline/help_markup.h"

#include <gtest/gtest.h>

namespace {

const char kLockHelp[] =
    "Lock the local device with a given ID.\n"
    "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-local``.";

TEST(HelpMarkup, ConsoleAndRstForms) {
  EXPECT_EQ(FormatHelpText(kLockHelp),
            "Lock the local device with a given ID.\n"
            "The value of ID_DEVICE can be retrieved by running show-local.");
  EXPECT_EQ(FormatHelpTextRst(kLockHelp),
            "Lock the local device with a given ID.\n\n"
            "The value of ``ID_DEVICE`` can be retrieved by running ``show-local``.");
  EXPECT_EQ(IndentText(FormatHelpText(kLockHelp)),
            "    Lock the local device with a given ID.\n"
            "    The value of ID_DEVICE can be retrieved by running show-local.");
}

TEST(HelpMarkup, ConsoleReplacementsRunInOrder) {
  struct Case {
    const char* text;
    const char* console;
  } cases[] = {
      {"a:::b", "a::b"},           // the first two colons go, the third stays
      {"```x```", "`x`"},          // one back-quote of three is left
      {":<LF>:", "::"},            // the marker goes after the colons were handled
      {"mid<LF>line", "midline"},  // a marker anywhere is dropped
      {"run::\n\n    cmd", "run:\n\n    cmd"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatHelpText(c.text), c.console) << c.text;
}

TEST(HelpMarkup, IndentText) {
  EXPECT_EQ(IndentText(""), "    ");
  EXPECT_EQ(IndentText("a\n"), "    a\n    ");
  EXPECT_EQ(IndentText("a\n\nb"), "    a\n    \n    b");
}

TEST(HelpMarkup, ReplaceAllNeverSearchesAReplacement) {
  std::string text = "aaa";
  EXPECT_EQ(ReplaceAll(text, "a", "aa"), "aaaaaa");
  text = "abab";
  EXPECT_EQ(ReplaceAll(text, "aba", "x"), "xb");
  text = "none";
  EXPECT_EQ(ReplaceAll(text, "zz", "y"), "none");
}

}  // namespace
