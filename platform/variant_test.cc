#include "platform/variant.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace {

std::string ChangedToText(const VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  if (VariantChangeType(&text, &value, 0, VT_BSTR) != S_OK)
    return "<failed>";
  std::string result = BstrToNarrow(text.bstrVal);
  VariantClear(&text);
  return result;
}

TEST(Variant, BstrKeepsItsLength) {
  const OLECHAR text[] = {'h', 'i', 0};
  BSTR value = SysAllocString(text);
  EXPECT_EQ(SysStringLen(value), 2u);
  EXPECT_EQ(value[2], 0);
  SysFreeString(value);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
}

TEST(Variant, ChangeTypeToText) {
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(ChangedToText(value), "");  // empty
  value.vt = VT_I4;
  value.lVal = -42;
  EXPECT_EQ(ChangedToText(value), "-42");
  value.vt = VT_UI4;
  value.ulVal = 4000000000u;
  EXPECT_EQ(ChangedToText(value), "4000000000");
  value.vt = VT_BOOL;
  value.boolVal = VARIANT_TRUE;
  EXPECT_EQ(ChangedToText(value), "True");
  value.vt = VT_NULL;
  EXPECT_EQ(ChangedToText(value), "<failed>");
  value.vt = 0x4000;  // a type the library never hands out
  EXPECT_EQ(ChangedToText(value), "<failed>");

  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = NarrowToBstr("json");
  EXPECT_EQ(ChangedToText(text), "json");
  VariantClear(&text);
  EXPECT_EQ(text.vt, VT_EMPTY);
}

}  // namespace
