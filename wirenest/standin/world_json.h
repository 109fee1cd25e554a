// The JSON form of the world: what scenarios hold under "world" and what the
// state file keeps. README.md describes it.
#ifndef WIRENEST_STANDIN_WORLD_JSON_H_
#define WIRENEST_STANDIN_WORLD_JSON_H_

#include <string>

#include <json/json.h>

#include "wirenest/standin/world.h"

namespace standin {

// False with *error naming the offending member under `path`.
bool WorldFromJson(const Json::Value& json, const std::string& path, World* world,
                   std::string* error);
// The account's password goes out as its salted digest only.
Json::Value WorldToJson(const World& world);
Json::Value ConnectInfoToJson(const ConnectInfo& info);
Json::Value InviteToJson(const DeviceInvite& invite);

}  // namespace standin

#endif  // WIRENEST_STANDIN_WORLD_JSON_H_
