#include "tests/support/json_text.h"

#include <json/reader.h>
#include <json/writer.h>

std::string CompactJson(const Json::Value& value) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  return Json::writeString(builder, value);
}

Json::Value ParseJson(const std::string& text) {
  Json::Value value;
  Json::Reader().parse(text, value);
  return value;
}
