#include "frontend/convert/json_reading.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <limits>

#include "frontend/convert/json_text.h"

std::string JsonAsText(const Json::Value& value) {
  switch (value.type()) {
    case Json::nullValue:
      return std::string();
    case Json::intValue:
      return std::to_string(value.asLargestInt());
    case Json::uintValue:
      return std::to_string(value.asLargestUInt());
    case Json::realValue: {
      char buffer[64];
      snprintf(buffer, sizeof buffer, "%.16g", value.asDouble());
      std::string text = buffer;
      for (char& c : text) {
        if (c == ',')
          c = '.';
      }
      return text;
    }
    case Json::stringValue:
      return value.asString();
    case Json::booleanValue:
      return value.asBool() ? "true" : "false";
    case Json::arrayValue:
    case Json::objectValue:
      return WriteCompactJson(value);
  }
  return std::string();
}

int64_t ParseLeadingInteger(const std::string& text, int64_t minimum, int64_t maximum) {
  size_t pos = 0;
  while (pos < text.size() && isspace(static_cast<unsigned char>(text[pos])))
    ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Past any range in use, more digits cannot bring the number back.
  const int64_t kBeyondEveryRange = int64_t(1) << 40;
  int64_t magnitude = 0;
  for (; pos < text.size() && isdigit(static_cast<unsigned char>(text[pos])); ++pos) {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > kBeyondEveryRange)
      break;
  }
  int64_t number = negative ? -magnitude : magnitude;
  return number < minimum ? minimum : number > maximum ? maximum : number;
}

bool JsonAsInt(const Json::Value& value, int32_t* result) {
  switch (value.type()) {
    case Json::nullValue:
      *result = 0;
      return true;
    case Json::intValue: {
      Json::LargestInt number = value.asLargestInt();
      if (number < INT32_MIN || number > INT32_MAX)
        return false;
      *result = static_cast<int32_t>(number);
      return true;
    }
    case Json::uintValue: {
      Json::LargestUInt number = value.asLargestUInt();
      if (number > static_cast<Json::LargestUInt>(INT32_MAX))
        return false;
      *result = static_cast<int32_t>(number);
      return true;
    }
    case Json::realValue: {
      double number = value.asDouble();
      if (!(number >= -2147483648.0 && number <= 2147483647.0))
        return false;
      *result = static_cast<int32_t>(number);
      return true;
    }
    case Json::stringValue:
      *result = static_cast<int32_t>(ParseLeadingInteger(value.asString(), INT32_MIN, INT32_MAX));
      return true;
    case Json::booleanValue:
      *result = value.asBool() ? 1 : 0;
      return true;
    case Json::arrayValue:
    case Json::objectValue:
      return false;
  }
  return false;
}

bool JsonAsBool(const Json::Value& value, bool* result) {
  switch (value.type()) {
    case Json::nullValue:
      *result = false;
      return true;
    case Json::intValue:
      *result = value.asLargestInt() != 0;
      return true;
    case Json::uintValue:
      *result = value.asLargestUInt() != 0;
      return true;
    case Json::realValue:
      *result = value.asDouble() != 0.0;
      return true;
    case Json::booleanValue:
      *result = value.asBool();
      return true;
    case Json::stringValue:
    case Json::arrayValue:
    case Json::objectValue:
      return false;
  }
  return false;
}

bool IsObjectOrNull(const Json::Value& value) { return value.isObject() || value.isNull(); }

const Json::Value& JsonMember(const Json::Value& value, const char* key) {
  if (!value.isObject())
    return Json::Value::nullSingleton();
  const Json::Value* member = value.find(key, key + strlen(key));
  return member ? *member : Json::Value::nullSingleton();
}

std::string JsonMemberText(const Json::Value& value, const char* key) {
  return JsonAsText(JsonMember(value, key));
}

bool JsonMemberInt(const Json::Value& value, const char* key, int32_t* result) {
  return JsonAsInt(JsonMember(value, key), result);
}

bool ParseJsonStringList(const std::string& text, std::vector<std::string>* list) {
  Json::Value root;
  if (!ParseJsonText(text, &root) || !root.isArray())
    return false;
  list->clear();
  for (Json::ArrayIndex i = 0; i < root.size(); ++i)
    list->push_back(JsonAsText(root[i]));
  return true;
}

bool IsEmptyJson(const Json::Value& value) {
  if (value.isNull())
    return true;
  if (value.isArray() || value.isObject())
    return value.empty();
  return false;
}
