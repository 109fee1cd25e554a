// JSON text in and out, with the JSON library's classic reader and writers.
#ifndef WNCTL_FRONTEND_CONVERT_JSON_TEXT_H_
#define WNCTL_FRONTEND_CONVERT_JSON_TEXT_H_

#include <string>

#include <json/value.h>

// Comments allowed, any value as the root. The reader's messages are dropped.
bool ParseJsonText(const std::string& text, Json::Value* root);

// No blanks and no line end; object members in key order.
std::string WriteCompactJson(const Json::Value& value);

// Pretty-printed as shown to the user, ending with one line feed.
std::string WriteStyledJson(const Json::Value& value);

#endif  // WNCTL_FRONTEND_CONVERT_JSON_TEXT_H_
