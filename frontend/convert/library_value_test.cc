#include "frontend/convert/library_value.h"

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"

namespace {

TEST(LibraryValue, StringLists) {
  struct Case {
    const char* text;
    bool parsed;
    std::vector<std::string> list;
  } cases[] = {
      {"[]", true, {}},
      {"[7, true, null, {\"b\":2,\"a\":1}, \"x\", [1]]",
       true,
       {"7", "true", "", "{\"a\":1,\"b\":2}", "x", "[1]"}},
      {"{\"a\": 1}", false, {"untouched"}},
      {"", false, {"untouched"}},
      {"[1,", false, {"untouched"}},
      {"// listed\n[\"a\"]", true, {"a"}},
  };
  for (const Case& c : cases) {
    ScopedVariant value(c.text);
    std::vector<std::string> list = {"untouched"};
    EXPECT_EQ(VariantToStringList(value.get(), &list), c.parsed) << c.text;
    EXPECT_EQ(list, c.list) << c.text;
  }
}

TEST(LibraryValue, TextAndJson) {
  ScopedVariant empty("");
  Json::Value root;
  EXPECT_FALSE(VariantToJson(empty.get(), &root));
  EXPECT_EQ(VariantToString(empty.get()), "");

  ScopedVariant text("caf\xC3\xA9 {not json}");
  EXPECT_EQ(VariantToString(text.get()), "caf\xC3\xA9 {not json}");

  ScopedVariant unset;  // VT_EMPTY changes into the empty text
  std::string narrow = "x";
  EXPECT_TRUE(VariantToText(unset.get(), &narrow));
  EXPECT_EQ(narrow, "");
}

TEST(LibraryValue, UnconvertibleValueIsAFailureNotACrash) {
  ScopedVariant value;
  value.out()->vt = VT_NULL;
  Json::Value root;
  std::vector<std::string> list;
  std::string text;
  EXPECT_FALSE(VariantToText(value.get(), &text));
  EXPECT_FALSE(VariantToJson(value.get(), &root));
  EXPECT_FALSE(VariantToStringList(value.get(), &list));
  EXPECT_EQ(VariantToString(value.get()), "");
}

TEST(LibraryValue, JsonGoesOutCompactInKeyOrder) {
  Json::Value document(Json::objectValue);
  document["reconnect"] = "false";
  document["compress"] = "bestsize";
  ScopedVariant value;
  JsonToVariant(document, value.out());
  EXPECT_EQ(VariantToString(value.get()), "{\"compress\":\"bestsize\",\"reconnect\":\"false\"}");
  JsonToVariant(Json::Value(Json::objectValue), value.out());
  EXPECT_EQ(VariantToString(value.get()), "{}");
}

TEST(LibraryValue, DeepNestingIsAParseFailure) {
  Json::Value root;
  EXPECT_FALSE(ParseJsonText(std::string(100000, '['), &root));
}

}  // namespace
