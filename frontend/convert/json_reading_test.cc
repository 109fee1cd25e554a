#include "frontend/convert/json_reading.h"

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"

namespace {

Json::Value Parse(const std::string& text) {
  Json::Value value;
  EXPECT_TRUE(ParseJsonText(text, &value)) << text;
  return value;
}

// Each JSON text read three ways; "fails" marks a reading that cannot be had.
TEST(JsonReading, ReadingsOfEveryType) {
  struct Case {
    const char* json;
    const char* text;
    const char* integer;
    const char* boolean;
  } cases[] = {
      {"null", "", "0", "false"},
      {"-17", "-17", "-17", "true"},
      {"0", "0", "0", "false"},
      {"2147483647", "2147483647", "2147483647", "true"},
      {"-2147483648", "-2147483648", "-2147483648", "true"},
      {"2147483648", "2147483648", "fails", "true"},
      {"4294967296", "4294967296", "fails", "true"},
      {"-2147483649", "-2147483649", "fails", "true"},
      {"1.5", "1.5", "1", "true"},
      {"-2.9", "-2.9", "-2", "true"},
      {"0.0", "0", "0", "false"},
      {"1e12", "1000000000000", "fails", "true"},
      {"\"\"", "", "0", "fails"},
      {"\"  42abc\"", "  42abc", "42", "fails"},
      {"\"abc\"", "abc", "0", "fails"},
      {"\"-15\"", "-15", "-15", "fails"},
      {"\"+7\"", "+7", "7", "fails"},
      {"\"99999999999\"", "99999999999", "2147483647", "fails"},
      {"\"-99999999999\"", "-99999999999", "-2147483648", "fails"},
      {"true", "true", "1", "true"},
      {"false", "false", "0", "false"},
      {"[1, \"a\"]", "[1,\"a\"]", "fails", "fails"},
      {"{\"b\": 1, \"a\": null}", "{\"a\":null,\"b\":1}", "fails", "fails"},
  };
  for (const Case& c : cases) {
    Json::Value value = Parse(c.json);
    EXPECT_EQ(JsonAsText(value), c.text) << c.json;
    int32_t number = 12345;
    std::string integer = JsonAsInt(value, &number) ? std::to_string(number) : "fails";
    EXPECT_EQ(integer, c.integer) << c.json;
    bool flag = false;
    std::string boolean = JsonAsBool(value, &flag) ? (flag ? "true" : "false") : "fails";
    EXPECT_EQ(boolean, c.boolean) << c.json;
  }
}

TEST(JsonReading, MembersOfAnythingButAnObjectReadAsNull) {
  Json::Value object = Parse("{\"a\": 5}");
  EXPECT_EQ(JsonAsText(JsonMember(object, "a")), "5");
  EXPECT_TRUE(JsonMember(object, "missing").isNull());
  EXPECT_TRUE(JsonMember(Parse("[1]"), "a").isNull());
  EXPECT_TRUE(JsonMember(Parse("\"a\""), "a").isNull());
  EXPECT_TRUE(IsObjectOrNull(Parse("null")));
  EXPECT_FALSE(IsObjectOrNull(Parse("[]")));
  EXPECT_FALSE(object.isMember("missing"));  // reading added nothing
}

TEST(JsonReading, Emptiness) {
  EXPECT_TRUE(IsEmptyJson(Parse("null")));
  EXPECT_TRUE(IsEmptyJson(Parse("[]")));
  EXPECT_TRUE(IsEmptyJson(Parse("{}")));
  EXPECT_FALSE(IsEmptyJson(Parse("[null]")));
  EXPECT_FALSE(IsEmptyJson(Parse("\"\"")));
  EXPECT_FALSE(IsEmptyJson(Parse("0")));
}

}  // namespace
