#include "frontend/convert/json_text.h"

// The classic reader and writers give exactly the text the library and the
// users expect (comments allowed, FastWriter's compact form, StyledWriter's
// layout); the JSON library marks them deprecated in favour of builders that
// format differently.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/reader.h>
#include <json/writer.h>

#include <exception>

bool ParseJsonText(const std::string& text, Json::Value* root) {
  // The reader throws only past its nesting limit; that is a parse failure.
  // Each thread keeps one reader: it starts every parse afresh, and the
  // buffers it keeps save a listing an allocation or two per answer.
  try {
    thread_local Json::Reader reader;
    // From the caller's text, which the reader would otherwise copy first.
    return reader.parse(text.data(), text.data() + text.size(), *root);
  } catch (const std::exception&) {
    return false;
  }
}

std::string WriteCompactJson(const Json::Value& value) {
  Json::FastWriter writer;
  writer.omitEndingLineFeed();
  return writer.write(value);
}

std::string WriteStyledJson(const Json::Value& value) {
  Json::StyledWriter writer;
  return writer.write(value);
}

#pragma GCC diagnostic pop
