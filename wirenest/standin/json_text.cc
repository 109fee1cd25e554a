#include "wirenest/standin/json_text.h"

#include <algorithm>
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

// JsonCpp ends the text at a NUL byte, which would leave what follows unread.
std::string NulByteError(const std::string& text) {
  const size_t nul = text.find('\0');
  if (nul == std::string::npos)
    return std::string();
  const size_t line_start = text.rfind('\n', nul);
  const size_t column = line_start == std::string::npos ? nul + 1 : nul - line_start;
  const size_t line = 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + nul, '\n'));
  return "a NUL byte at line " + std::to_string(line) + ", column " + std::to_string(column);
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
  if (parsed && !(errors = NulByteError(text)).empty())
    parsed = false;
  if (!parsed && error)
    *error = out_of_memory ? "cannot be read: out of memory" : "invalid JSON: " + OneLine(errors);
  return parsed;
}

}  // namespace standin
