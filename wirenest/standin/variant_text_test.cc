#include "wirenest/standin/variant_text.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace standin {
namespace {

TEST(VariantTextTest, ReadsTextsAndNumbersAndNothingElse) {
  VARIANT text, null_text, empty, null, number, flag;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = NarrowToBstr("Büro 41");
  VariantInit(&null_text);
  null_text.vt = VT_BSTR;
  VariantInit(&empty);
  VariantInit(&null);
  null.vt = VT_NULL;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 41;
  VariantInit(&flag);
  flag.vt = VT_BOOL;
  flag.boolVal = VARIANT_TRUE;

  EXPECT_EQ("Büro 41", VariantText(text));
  EXPECT_EQ("", VariantText(null_text));
  EXPECT_EQ("", VariantText(empty));
  EXPECT_EQ("", VariantText(null));
  EXPECT_EQ("41", VariantText(number));
#ifdef _WIN32
  EXPECT_EQ("-1", VariantText(flag));  // the system's VariantChangeType, without VARIANT_ALPHABOOL
#else
  EXPECT_EQ("True", VariantText(flag));
#endif
  VariantClear(&text);
}

TEST(VariantTextTest, FillsAnOutValueReplacingWhatItHeld) {
  VARIANT out;
  VariantInit(&out);
  ASSERT_TRUE(SetVariantText(&out, "first"));
  ASSERT_TRUE(SetVariantText(&out, "{\"name\":\"ü\"}"));
  EXPECT_EQ(VT_BSTR, out.vt);
  EXPECT_EQ("{\"name\":\"ü\"}", BstrToNarrow(out.bstrVal));
  VariantClear(&out);
}

// The world's texts are UTF-8 and the interface's UTF-16: each character
// crosses as itself, one beyond the BMP as its surrogate pair, whatever a
// Windows system's code page.
TEST(VariantTextTest, TheWorldsUtf8CrossesAsUtf16) {
  const std::string narrow =
      "Caf\xC3\xA9 \xD0\x94\xD0\xB0\xD1\x88\xD0\xB0 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x94\x8C";
  const std::u16string wide = u"Caf\u00E9 \u0414\u0430\u0448\u0430 \u65E5\u672C \U0001F50C";
  ScopedVariant out;
  ASSERT_TRUE(SetVariantText(out.get(), narrow));
  EXPECT_EQ(wide, std::u16string(reinterpret_cast<const char16_t*>(out.get()->bstrVal)));

  ScopedVariant in;
  in.get()->vt = VT_BSTR;
  in.get()->bstrVal = SysAllocString(reinterpret_cast<const OLECHAR*>(wide.c_str()));
  EXPECT_EQ(narrow, VariantText(*in.get()));
}

}  // namespace
}  // namespace standin
