// JSON as the tests write it into scenarios and read it from call logs.
#ifndef WNCTL_TESTS_SUPPORT_JSON_TEXT_H_
#define WNCTL_TESTS_SUPPORT_JSON_TEXT_H_

#include <string>

#include <json/value.h>

// JSON text without blanks or line ends, as scenarios and call-log lines are.
std::string CompactJson(const Json::Value& value);
// The JSON text's value, as far as it parses.
Json::Value ParseJson(const std::string& text);

#endif  // WNCTL_TESTS_SUPPORT_JSON_TEXT_H_
