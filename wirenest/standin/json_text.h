#ifndef WIRENEST_STANDIN_JSON_TEXT_H_
#define WIRENEST_STANDIN_JSON_TEXT_H_

#include <string>

#include <json/json.h>

namespace standin {

// No blanks, no line end, members in key order, UTF-8 written as it is.
std::string CompactJson(const Json::Value& value);
// Indented, for files that people read.
std::string StyledJson(const Json::Value& value);
// False with a one-line reason when the text is not a JSON document, or
// memory ran out reading it.
bool ParseJson(const std::string& text, Json::Value* value, std::string* error);

}  // namespace standin

#endif  // WIRENEST_STANDIN_JSON_TEXT_H_
