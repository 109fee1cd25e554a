#include "wirenest/standin/world_queries.h"

#include "wirenest/standin/json_text.h"
#include "wirenest/standin/world_json.h"

namespace standin {

namespace {

Answer Found(const Json::Value& json) { return Answer{1, CompactJson(json)}; }

Answer IdList(const std::vector<std::string>& ids) {
  Json::Value list(Json::arrayValue);
  for (const std::string& id : ids)
    list.append(id);
  return Answer{static_cast<int32_t>(ids.size()), CompactJson(list)};
}

std::string AccountEmail(const World& world) {
  return world.account ? world.account->email : std::string();
}

// The other party of an invite: the invited address, or the offering owner.
std::string InviteEmail(const World& world, const DevicePlace& place, const DeviceInvite& invite) {
  if (place.computer.owner == Owner::kOtherAccount)
    return ComputerAt(world, place.computer).email;
  return invite.email;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

int32_t IsOk(const World& world) {
  return IsLoggedIn(world) && world.service.pipe == "connected" &&
         ServerStatus(world) == "connected" && world.service.usb_driver == "OK" &&
         world.service.serial_driver == "OK";
}

Answer Status(const World& world) {
  Json::Value json;
  json["pipe"] = world.service.pipe;
  json["server"] = ServerStatus(world);
  json["usb_driver"] = world.service.usb_driver;
  json["serial_driver"] = world.service.serial_driver;
  return Found(json);
}

Answer Email(const World& world) {
  if (AccountEmail(world).empty())
    return Answer{0, ""};
  return Answer{1, AccountEmail(world)};
}

Answer LibVersion(const World& world) { return Answer{1, world.version}; }

Answer ComputerInfo(const World& world, const std::string& id_comp) {
  std::optional<ComputerPlace> place = FindComputer(world, id_comp);
  if (!place)
    return Answer{0, ""};
  const Computer& computer = ComputerAt(world, *place);
  Json::Value json;
  json["id_comp"] = computer.id_comp;
  json["comp_name"] = computer.comp_name;
  json["devices"] = static_cast<Json::UInt>(VisibleDevices(world, *place).size());
  if (place->owner != Owner::kLocal)
    json["status"] = computer.status;
  if (place->owner == Owner::kOtherAccount)
    json["email"] = computer.email;
  else
    json["local"] = place->owner == Owner::kLocal;
  return Found(json);
}

Answer ComputersList(const World& world, const std::string& filter) {
  const std::string online_prefix = "online-", offline_prefix = "offline-";
  std::string kind = filter;
  std::optional<bool> offline;
  if (StartsWith(filter, online_prefix)) {
    offline = false;
    kind = filter.substr(online_prefix.size());
  } else if (StartsWith(filter, offline_prefix)) {
    offline = true;
    kind = filter.substr(offline_prefix.size());
  }
  if (kind != "remote" && kind != "other")
    return Answer{-1, ""};
  Owner owner = kind == "remote" ? Owner::kAccount : Owner::kOtherAccount;
  const std::vector<Computer>& computers = kind == "remote" ? world.remote : world.other;
  std::vector<std::string> ids;
  for (size_t i = 0; i < computers.size(); ++i) {
    bool listed = owner == Owner::kAccount || !VisibleDevices(world, {owner, i}).empty();
    if (listed && (!offline || *offline == IsOffline(computers[i])))
      ids.push_back(computers[i].id_comp);
  }
  return IdList(ids);
}

Answer DevicesList(const World& world, const std::string& id_comp) {
  std::optional<ComputerPlace> place = FindComputer(world, id_comp);
  if (!place)
    return Answer{-1, ""};
  std::vector<std::string> ids;
  for (size_t index : VisibleDevices(world, *place))
    ids.push_back(ComputerAt(world, *place).devices[index].id);
  return IdList(ids);
}

Answer DeviceInfo(const World& world, const std::string& id_comp, const std::string& id_device) {
  std::optional<DevicePlace> place = FindDevice(world, id_comp, id_device);
  if (!place)
    return Answer{0, ""};
  const Device& device = DeviceAt(world, *place);
  Json::Value json;
  json["name"] = device.name;
  json["description"] = device.description;
  json["status"] = device.status;
  if (place->computer.owner == Owner::kLocal)
    json["locked"] = device.locked;
  if (device.status == "shared" && device.connect_info)
    json["connect_info"] = ConnectInfoToJson(*device.connect_info);
  if (!device.comport_name.empty())
    json["comport_name"] = device.comport_name;
  Json::Value& invites = json["invites"] = Json::Value(Json::arrayValue);
  for (const DeviceInvite& invite : device.invites) {
    Json::Value& item = invites.append(InviteToJson(invite));
    item["email"] = InviteEmail(world, *place, invite);
  }
  return Found(json);
}

Answer InviteInfo(const World& world, const std::string& id_invite) {
  std::optional<InvitePlace> place = FindInvite(world, id_invite);
  if (!place)
    return Answer{0, ""};
  const Device& device = DeviceAt(world, place->device);
  const DeviceInvite& invite = device.invites[place->index];
  bool offered = place->device.computer.owner == Owner::kOtherAccount;
  Json::Value json;
  json["id_invite"] = invite.id_invite;
  json["from"] = offered ? InviteEmail(world, place->device, invite) : AccountEmail(world);
  json["to"] = offered ? AccountEmail(world) : invite.email;
  json["id_comp"] = ComputerAt(world, place->device.computer).id_comp;
  json["id_device"] = device.id;
  json["status"] = invite.status;
  return Found(json);
}

Answer DefaultConnectParameters(const World& world) { return Found(world.default_params); }

Answer ProxySettings(const World& world) { return Found(world.proxy); }

}  // namespace standin
