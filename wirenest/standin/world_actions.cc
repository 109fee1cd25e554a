#include "wirenest/standin/world_actions.h"

#include <stddef.h>
#include <stdlib.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "wirenest/standin/json_text.h"

namespace standin {

namespace {

const char kOk[] = "OK";

struct ConnectionParameters {
  std::optional<std::string> compress;  // as connections report it: "zlib", "lz4", "no"
  std::optional<bool> reconnect;
};

// The compression names that requests use, and the ones connections report.
std::optional<std::string> ConnectionCompression(const std::string& name) {
  if (name == "bestsize" || name == "zlib")
    return std::string("zlib");
  if (name == "bestspeed" || name == "lz4")
    return std::string("lz4");
  if (name == "no")
    return name;
  return std::nullopt;
}

bool ReadConnectionParameters(const Json::Value& json, ConnectionParameters* params) {
  if (!json.isObject())
    return false;
  const Json::Value& compress = json["compress"];
  if (compress.isString() && !compress.asString().empty()) {
    params->compress = ConnectionCompression(compress.asString());
    if (!params->compress)
      return false;
  } else if (!compress.isNull() && !compress.isString()) {
    return false;
  }
  const Json::Value& reconnect = json["reconnect"];
  if (reconnect.isBool())
    params->reconnect = reconnect.asBool();
  else if (reconnect == "true" || reconnect == "false")
    params->reconnect = reconnect == "true";
  else if (!reconnect.isNull())
    return false;
  return true;
}

bool ParseConnectionParameters(const std::string& text, ConnectionParameters* params) {
  Json::Value json;
  return ParseJson(text, &json, nullptr) && ReadConnectionParameters(json, params);
}

std::vector<const Device*> AllDevices(const World& world) {
  std::vector<const Device*> devices;
  auto add = [&devices](const Computer& computer) {
    for (const Device& device : computer.devices)
      devices.push_back(&device);
  };
  if (world.local)
    add(*world.local);
  for (const Computer& computer : world.remote)
    add(computer);
  for (const Computer& computer : world.other)
    add(computer);
  return devices;
}

// `prefix` followed by a number above every number already used after it.
std::string FreshId(const std::string& prefix, const std::vector<std::string>& taken) {
  unsigned long highest = 0;
  for (const std::string& id : taken) {
    if (id.compare(0, prefix.size(), prefix) != 0)
      continue;
    highest = std::max(highest, strtoul(id.c_str() + prefix.size(), nullptr, 10));
  }
  return prefix + std::to_string(highest + 1);
}

std::string FreshInviteId(const World& world) {
  std::vector<std::string> taken;
  for (const Device* device : AllDevices(world))
    for (const DeviceInvite& invite : device->invites)
      taken.push_back(invite.id_invite);
  return FreshId("inv-", taken);
}

std::string FreshConnectionId(const World& world) {
  std::vector<std::string> taken;
  for (const Device* device : AllDevices(world))
    if (device->connect_info)
      taken.push_back(device->connect_info->id_connection);
  return FreshId("conn-", taken);
}

// The device a request names, for requests that need the login.
std::optional<DevicePlace> RequestedDevice(const World& world, const std::string& id_comp,
                                           const std::string& id_device, std::string* error) {
  if (!IsLoggedIn(world)) {
    *error = "not_logged_in";
    return std::nullopt;
  }
  std::optional<DevicePlace> place = FindDevice(world, id_comp, id_device);
  if (!place)
    *error = FindComputer(world, id_comp) ? "device_not_found" : "computer_not_found";
  return place;
}

std::optional<InvitePlace> RequestedInvite(const World& world, const std::string& id_invite,
                                           std::string* error) {
  if (!IsLoggedIn(world)) {
    *error = "not_logged_in";
    return std::nullopt;
  }
  std::optional<InvitePlace> place = FindInvite(world, id_invite);
  if (!place)
    *error = "invite_not_found";
  return place;
}

bool IsOwn(const DevicePlace& place) { return place.computer.owner != Owner::kOtherAccount; }

bool IsConnected(const Device& device) {
  return device.status == "shared" && device.connect_info.has_value();
}

bool HasAcceptedInvite(const Device& device) {
  for (const DeviceInvite& invite : device.invites)
    if (invite.status == "accepted")
      return true;
  return false;
}

std::string ConnectionRefusal(const World& world, const DevicePlace& place) {
  const Device& device = DeviceAt(world, place);
  if (place.computer.owner == Owner::kLocal)
    return "device_is_local";
  if (IsOffline(ComputerAt(world, place.computer)) || device.status == "offline")
    return "device_offline";
  if (device.locked)
    return "device_locked";
  if (device.status == "shared")
    return "device_busy";
  if (place.computer.owner == Owner::kOtherAccount && !HasAcceptedInvite(device))
    return "invite_not_accepted";
  return std::string();
}

}  // namespace

std::string LoginComputer(World* world, const std::string& email, PasswordCheck* password) {
  if (IsLoggedIn(*world))
    return "already_logged_in";
  if (ServerStatus(*world) != "login_required")
    return "server_unreachable";
  if (!world->account || !EmailsEqual(email, world->account->email))
    return "wrong_credentials";
  switch (password->Check(world->account->password)) {
    case PasswordVerdict::kMatches:
      break;
    case PasswordVerdict::kDiffers:
      return "wrong_credentials";
    case PasswordVerdict::kNotChecked:
      return "password_not_checked";
  }
  if (!IsCurrentForm(world->account->password)) {
    PasswordHash current = HashPassword(password->password());
    if (!current.digest.empty())  // else the old form serves until a later login
      world->account->password = std::move(current);
  }
  world->account->logged_in = true;
  world->service.server.reset();
  return kOk;
}

std::string LogoutComputer(World* world, const std::string& id_comp) {
  if (!IsLoggedIn(*world))
    return "not_logged_in";
  std::optional<ComputerPlace> place = FindComputer(*world, id_comp);
  if (!place)
    return "computer_not_found";
  switch (place->owner) {
    case Owner::kLocal:
      world->account->logged_in = false;
      world->service.server.reset();
      return kOk;
    case Owner::kAccount:
      world->remote.erase(world->remote.begin() + static_cast<std::ptrdiff_t>(place->index));
      return kOk;
    case Owner::kOtherAccount:
      break;
  }
  return "access_denied";
}

std::string NameComputer(World* world, const std::string& id_comp, const std::string& name) {
  if (!IsLoggedIn(*world))
    return "not_logged_in";
  std::optional<ComputerPlace> place = FindComputer(*world, id_comp);
  if (!place)
    return "computer_not_found";
  if (place->owner == Owner::kOtherAccount)
    return "access_denied";
  if (name.empty())
    return "invalid_name";
  ComputerAt(world, *place).comp_name = name;
  return kOk;
}

std::string SetDeviceDescription(World* world, const std::string& id_comp,
                                 const std::string& id_device, const std::string& description) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  if (!IsOwn(*place))
    return "access_denied";
  DeviceAt(world, *place).description = description;
  return kOk;
}

std::string LockDevice(World* world, const std::string& id_comp, const std::string& id_device,
                       bool lock) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  if (place->computer.owner != Owner::kLocal)
    return "device_not_local";
  DeviceAt(world, *place).locked = lock;
  return kOk;
}

std::string ConnectDevice(World* world, const std::string& id_comp, const std::string& id_device,
                          const std::string& params) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  error = ConnectionRefusal(*world, *place);
  if (!error.empty())
    return error;
  ConnectionParameters requested, defaults;
  if (!ParseConnectionParameters(params, &requested))
    return "invalid_parameters";
  ReadConnectionParameters(world->default_params, &defaults);
  ConnectInfo info;
  info.id_connection = FreshConnectionId(*world);
  info.id_comp_client = world->local ? world->local->id_comp : std::string();
  info.compress = requested.compress.value_or(defaults.compress.value_or("no"));
  info.reconnect = requested.reconnect.value_or(defaults.reconnect.value_or(true));
  Device& device = DeviceAt(world, *place);
  device.status = "shared";
  device.connect_info = info;
  return kOk;
}

std::string DisconnectDevice(World* world, const std::string& id_comp,
                             const std::string& id_device) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  Device& device = DeviceAt(world, *place);
  if (!IsConnected(device))
    return "device_not_connected";
  device.status = "free";
  device.connect_info.reset();
  return kOk;
}

std::string ChangeConnectionParameters(World* world, const std::string& id_comp,
                                       const std::string& id_device, const std::string& params) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  Device& device = DeviceAt(world, *place);
  if (!IsConnected(device))
    return "device_not_connected";
  ConnectionParameters requested;
  if (!ParseConnectionParameters(params, &requested))
    return "invalid_parameters";
  if (requested.compress)
    device.connect_info->compress = *requested.compress;
  if (requested.reconnect)
    device.connect_info->reconnect = *requested.reconnect;
  return kOk;
}

std::string ForgetConnection(World* world, const std::string& id_comp,
                             const std::string& id_device) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  Device& device = DeviceAt(world, *place);
  if (!device.connect_info)
    return "connection_not_found";
  // An own device that cannot be reached is known only through the
  // connection waiting for it; a device of another account stays offered.
  Computer& computer = ComputerAt(world, place->computer);
  if (place->computer.owner == Owner::kAccount &&
      (IsOffline(computer) || device.status == "offline")) {
    computer.devices.erase(computer.devices.begin() + static_cast<std::ptrdiff_t>(place->index));
    return kOk;
  }
  device.connect_info.reset();
  if (device.status == "shared")
    device.status = "free";
  return kOk;
}

std::string SetComportName(World* world, const std::string& id_comp, const std::string& id_device,
                           const std::string& name) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  if (place->computer.owner == Owner::kLocal)
    return "device_is_local";
  DeviceAt(world, *place).comport_name = name;
  return kOk;
}

std::string SetProxySettings(World* world, const std::string& settings) {
  Json::Value json;
  if (!ParseJson(settings, &json, nullptr) || !json.isObject())
    return "invalid_parameters";
  world->proxy = json;
  return kOk;
}

std::string MakeInvite(World* world, const std::string& id_comp, const std::string& id_device,
                       const std::string& email) {
  std::string error;
  std::optional<DevicePlace> place = RequestedDevice(*world, id_comp, id_device, &error);
  if (!place)
    return error;
  if (!IsOwn(*place))
    return "access_denied";
  if (email.find('@') == std::string::npos)
    return "invalid_email";
  if (EmailsEqual(email, world->account->email))
    return "cannot_invite_self";
  DeviceInvite invite;
  invite.id_invite = FreshInviteId(*world);
  invite.email = email;
  DeviceAt(world, *place).invites.push_back(invite);
  return kOk;
}

std::string AcceptInvite(World* world, const std::string& id_invite) {
  std::string error;
  std::optional<InvitePlace> place = RequestedInvite(*world, id_invite, &error);
  if (!place)
    return error;
  if (IsOwn(place->device))
    return "own_invite";
  DeviceInvite& invite = DeviceAt(world, place->device).invites[place->index];
  if (invite.status == "accepted")
    return "invite_already_accepted";
  invite.status = "accepted";
  return kOk;
}

std::string DeleteInvite(World* world, const std::string& id_invite) {
  std::string error;
  std::optional<InvitePlace> place = RequestedInvite(*world, id_invite, &error);
  if (!place)
    return error;
  std::vector<DeviceInvite>& invites = DeviceAt(world, place->device).invites;
  invites.erase(invites.begin() + static_cast<std::ptrdiff_t>(place->index));
  return kOk;
}

bool SetDefaultConnectParameters(World* world, const std::string& params) {
  Json::Value json;
  if (!ParseJson(params, &json, nullptr) || !json.isObject())
    return false;
  for (const std::string& name : json.getMemberNames()) {
    const Json::Value& value = json[name];
    if (value.isNull() || value == "")
      world->default_params.removeMember(name);
    else
      world->default_params[name] = value;
  }
  return true;
}

}  // namespace standin
