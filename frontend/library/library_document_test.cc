#include "frontend/library/library_document.h"

#include <gtest/gtest.h>

#include "frontend/convert/json_text.h"
#include "frontend/convert/library_value.h"

namespace {

TEST(LibraryDocument, ReadRefusedOrUnparsable) {
  struct Case {
    int32_t answer;
    const char* text;
    DocumentReading reading;
    const char* document;  // as compact JSON, when read
  } cases[] = {
      {1, R"({"pipe":"connected"})", DocumentReading::Read, R"({"pipe":"connected"})"},
      {1, "null", DocumentReading::Read, "null"},
      {1, "", DocumentReading::Unparsable, nullptr},
      {1, "{\"pipe\":", DocumentReading::Unparsable, nullptr},
      {1, "[{}]", DocumentReading::Unparsable, nullptr},
      {1, "\"connected\"", DocumentReading::Unparsable, nullptr},
      {0, R"({"pipe":"connected"})", DocumentReading::Refused, nullptr},
  };
  for (const Case& c : cases) {
    Json::Value document = "untouched";
    DocumentReading reading = ReadLibraryDocument(
        [&](VARIANT* value) {
          SetTextVariant(c.text, value);
          return c.answer;
        },
        &document);
    EXPECT_EQ(c.reading, reading) << c.text;
    EXPECT_EQ(c.document ? c.document : "\"untouched\"", WriteCompactJson(document)) << c.text;
  }
}

}  // namespace
