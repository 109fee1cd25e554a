#include "frontend/convert/printable_text.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintableText, EscapesControlCharactersOnly) {
  struct Case {
    std::string text;
    std::string shown;
  } cases[] = {
      {"", ""},
      {"Mouse 2", "Mouse 2"},
      {"a\\nb \\x1b", "a\\nb \\x1b"},  // backslashes of the text stay
      {"boss@example.com> 'fake'\n78\tComputer of <x",
       "boss@example.com> 'fake'\\n78\\tComputer of <x"},
      {"line\r\nSuccess", "line\\r\\nSuccess"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\x01\x07\x08\x0b\x0c\x1b\x1f", "\\x01\\x07\\x08\\x0b\\x0c\\x1b\\x1f"},
      {"\x1b]0;title\x07\x1b[2J", "\\x1b]0;title\\x07\\x1b[2J"},
      {" ~\x7f", " ~\\x7f"},
      // U+0080, U+0085, U+009B and U+009F; U+00A0 and U+00E9 stay.
      {"\xC2\x80\xC2\x85x\xC2\x9B\xC2\x9F", "\\u0080\\u0085x\\u009b\\u009f"},
      {"\xC2\xA0"
       "caf\xC3\xA9",
       "\xC2\xA0"
       "caf\xC3\xA9"},
      // Characters of three and four bytes stay, U+2028 among them.
      {"\xE2\x82\xAC \xE2\x80\xA8 \xF0\x9F\x98\x80", "\xE2\x82\xAC \xE2\x80\xA8 \xF0\x9F\x98\x80"},
      // Invalid UTF-8 stays byte for byte: lone continuation bytes, a lead
      // byte cut short at the end or by an ASCII byte, bytes never used.
      {"\x85\x9B\x80", "\x85\x9B\x80"},
      {"ab\xC2", "ab\xC2"},
      {"\xC2"
       "A\xE2\x82",
       "\xC2"
       "A\xE2\x82"},
      {"\xC0\xAF\xFE\xFF", "\xC0\xAF\xFE\xFF"},
      // A control after invalid bytes is still found.
      {"\xFF\n\xE2\xC2\x85", "\xFF\\n\xE2\\u0085"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.shown, PrintableText(c.text)) << testing::PrintToString(c.text);
    std::string line = "41-a\t";
    AppendPrintableText(c.text, &line);
    EXPECT_EQ("41-a\t" + c.shown, line) << testing::PrintToString(c.text);
  }
}

}  // namespace
