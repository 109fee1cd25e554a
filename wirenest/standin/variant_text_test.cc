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

}  // namespace
}  // namespace standin
