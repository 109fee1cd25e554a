#include "wirenest/standin/json_fields.h"

namespace standin {

namespace {

bool Fail(const std::string& path, const char* what, std::string* error) {
  *error = path + " must be " + what;
  return false;
}

}  // namespace

std::string MemberPath(const std::string& path, const std::string& key) {
  return path.empty() ? key : path + "." + key;
}

std::string ElementPath(const std::string& path, Json::ArrayIndex index) {
  return path + "[" + std::to_string(index) + "]";
}

bool RequireObject(const Json::Value& value, const std::string& path, std::string* error) {
  return value.isObject() || Fail(path, "an object", error);
}

bool RequireArray(const Json::Value& value, const std::string& path, std::string* error) {
  return value.isArray() || Fail(path, "a list", error);
}

bool ReadString(const Json::Value& value, const std::string& path, std::string* out,
                std::string* error) {
  if (!value.isString())
    return Fail(path, "a string", error);
  *out = value.asString();
  return true;
}

bool ReadText(const Json::Value& object, const std::string& path, const char* key, std::string* out,
              std::string* error) {
  if (!object.isMember(key))
    return true;
  return ReadString(object[key], MemberPath(path, key), out, error);
}

bool ReadFlag(const Json::Value& object, const std::string& path, const char* key, bool* out,
              std::string* error) {
  if (!object.isMember(key))
    return true;
  const Json::Value& value = object[key];
  if (!value.isBool())
    return Fail(MemberPath(path, key), "a boolean", error);
  *out = value.asBool();
  return true;
}

bool ReadUint(const Json::Value& object, const std::string& path, const char* key, uint32_t* out,
              std::string* error, uint32_t most) {
  if (!object.isMember(key))
    return true;
  const Json::Value& value = object[key];
  if (!value.isUInt() || value.asUInt() > most)
    return Fail(MemberPath(path, key), ("a number from 0 to " + std::to_string(most)).c_str(),
                error);
  *out = value.asUInt();
  return true;
}

bool ReadInt(const Json::Value& value, const std::string& path, int32_t* out, std::string* error) {
  if (!value.isInt())
    return Fail(path, "an int", error);
  *out = value.asInt();
  return true;
}

bool ReadObject(const Json::Value& object, const std::string& path, const char* key,
                Json::Value* out, std::string* error) {
  if (!object.isMember(key))
    return true;
  if (!RequireObject(object[key], MemberPath(path, key), error))
    return false;
  *out = object[key];
  return true;
}

bool ReadStrings(const Json::Value& value, const std::string& path, std::vector<std::string>* out,
                 std::string* error) {
  if (!value.isArray())
    return Fail(path, "a list of strings", error);
  std::vector<std::string> strings;
  for (Json::ArrayIndex i = 0; i < value.size(); ++i) {
    std::string text;
    if (!ReadString(value[i], ElementPath(path, i), &text, error))
      return false;
    strings.push_back(text);
  }
  *out = strings;
  return true;
}

}  // namespace standin
