// The program's readings of the members of the library's JSON answers.
// Unlike the JSON library's own accessors they never throw: a reading that
// cannot be made returns false and the caller reports its own failure.
#ifndef WNCTL_FRONTEND_CONVERT_JSON_READING_H_
#define WNCTL_FRONTEND_CONVERT_JSON_READING_H_

#include <stdint.h>

#include <string>
#include <vector>

#include <json/value.h>

// Null (or a missing member) gives "", numbers their decimal text, booleans
// "true"/"false", arrays and objects their compact JSON text.
std::string JsonAsText(const Json::Value& value);

// Numbers within the signed 32-bit range (reals truncated), and strings read
// as a leading decimal number, clamped to the range. False for arrays,
// objects and numbers outside the range.
bool JsonAsInt(const Json::Value& value, int32_t* result);

// Null false, numbers true unless zero, booleans as they are. False (no
// reading) for strings, arrays and objects.
bool JsonAsBool(const Json::Value& value, bool* result);

// The decimal number at the start of a text (after white space, with one
// optional sign), clamped to the range; 0 when there are no digits.
int64_t ParseLeadingInteger(const std::string& text, int64_t minimum, int64_t maximum);

// Whether members can be read from the value: an object, or null (which
// reads as an object without members).
bool IsObjectOrNull(const Json::Value& value);

// The member `key` of an object; the null value when it is missing or when
// the value is not an object.
const Json::Value& JsonMember(const Json::Value& value, const char* key);

// JsonAsText and JsonAsInt of the member `key` of an object (JsonMember).
std::string JsonMemberText(const Json::Value& value, const char* key);
bool JsonMemberInt(const Json::Value& value, const char* key, int32_t* result);

// True when the text is a JSON array; `list` then holds the text reading of
// each element. Otherwise `list` is left as it was.
bool ParseJsonStringList(const std::string& text, std::vector<std::string>* list);

// Whether the value holds nothing: null, or an array or object without
// elements.
bool IsEmptyJson(const Json::Value& value);

#endif  // WNCTL_FRONTEND_CONVERT_JSON_READING_H_
