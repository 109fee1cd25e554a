// The library's queries as the world answers them.
#ifndef WIRENEST_STANDIN_WORLD_QUERIES_H_
#define WIRENEST_STANDIN_WORLD_QUERIES_H_

#include <stdint.h>

#include <string>

#include "wirenest/standin/answer.h"
#include "wirenest/standin/world.h"

namespace standin {

int32_t IsOk(const World& world);
Answer Status(const World& world);
Answer Email(const World& world);
Answer LibVersion(const World& world);
Answer ComputerInfo(const World& world, const std::string& id_comp);
// Filters: "remote", "other", each also with "online-" or "offline-" in front.
Answer ComputersList(const World& world, const std::string& filter);
Answer DevicesList(const World& world, const std::string& id_comp);
Answer DeviceInfo(const World& world, const std::string& id_comp, const std::string& id_device);
Answer InviteInfo(const World& world, const std::string& id_invite);
Answer DefaultConnectParameters(const World& world);
Answer ProxySettings(const World& world);

}  // namespace standin

#endif  // WIRENEST_STANDIN_WORLD_QUERIES_H_
