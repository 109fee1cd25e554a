#include "wirenest/standin/json_text.h"

#include <memory>
#include <new>

namespace standin {

namespace {

std::string Write(const Json::Value& value, const char* indentation) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = indentation;
  builder["emitUTF8"] = true;
  return Json::writeString(builder, value);
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\n' || c == '\t')
      c = ' ';
    if (c == ' ' && (line.empty() || line.back() == ' '))
      continue;
    line.push_back(c);
  }
  while (!line.empty() && line.back() == ' ')
    line.pop_back();
  return line;
}

}  // namespace

std::string CompactJson(const Json::Value& value) { return Write(value, ""); }

std::string StyledJson(const Json::Value& value) { return Write(value, "  ") + "\n"; }

bool ParseJson(const std::string& text, Json::Value* value, std::string* error) {
  Json::CharReaderBuilder builder;
  builder["collectComments"] = false;
  builder["failIfExtra"] = true;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  std::string errors;
  bool parsed;
  bool out_of_memory = false;
  try {
    parsed = reader->parse(text.data(), text.data() + text.size(), value, &errors);
  } catch (const std::bad_alloc&) {
    parsed = false;
    out_of_memory = true;
  } catch (const std::exception& failure) {  // too deeply nested
    parsed = false;
    errors = failure.what();
  }
  if (!parsed && error)
    *error = out_of_memory ? "cannot be read: out of memory" : "invalid JSON: " + OneLine(errors);
  return parsed;
}

}  // namespace standin
