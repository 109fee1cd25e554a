// Typed reading of the members of JSON documents that people write by hand.
// Each Read* takes an optional member: an absent member leaves *out as it
// is; a member of another type makes the call false and *error names it by
// its path ("world.local.devices[2].locked must be a boolean").
#ifndef WIRENEST_STANDIN_JSON_FIELDS_H_
#define WIRENEST_STANDIN_JSON_FIELDS_H_

#include <stdint.h>

#include <string>
#include <vector>

#include <json/json.h>

namespace standin {

std::string MemberPath(const std::string& path, const std::string& key);
std::string ElementPath(const std::string& path, Json::ArrayIndex index);

bool RequireObject(const Json::Value& value, const std::string& path, std::string* error);
bool RequireArray(const Json::Value& value, const std::string& path, std::string* error);
bool ReadString(const Json::Value& value, const std::string& path, std::string* out,
                std::string* error);

bool ReadText(const Json::Value& object, const std::string& path, const char* key, std::string* out,
              std::string* error);
bool ReadFlag(const Json::Value& object, const std::string& path, const char* key, bool* out,
              std::string* error);
// At most `most`.
bool ReadUint(const Json::Value& object, const std::string& path, const char* key, uint32_t* out,
              std::string* error, uint32_t most = UINT32_MAX);
bool ReadInt(const Json::Value& value, const std::string& path, int32_t* out, std::string* error);
bool ReadObject(const Json::Value& object, const std::string& path, const char* key,
                Json::Value* out, std::string* error);
// A list of strings, e.g. the batches of one drain.
bool ReadStrings(const Json::Value& value, const std::string& path, std::vector<std::string>* out,
                 std::string* error);

}  // namespace standin

#endif  // WIRENEST_STANDIN_JSON_FIELDS_H_
