#include "wirenest/standin/world_json.h"

#include "wirenest/standin/json_fields.h"

namespace standin {

namespace {

bool ReadId(const Json::Value& object, const std::string& path, const char* key, std::string* out,
            std::string* error) {
  if (!object.isMember(key)) {
    *error = MemberPath(path, key) + " is missing";
    return false;
  }
  return ReadText(object, path, key, out, error);
}

// Reads the list object[key] with `read` for each element.
template <typename T, typename Reader>
bool ReadList(const Json::Value& object, const std::string& path, const char* key,
              std::vector<T>* out, std::string* error, Reader read) {
  if (!object.isMember(key))
    return true;
  const std::string list_path = MemberPath(path, key);
  const Json::Value& list = object[key];
  if (!RequireArray(list, list_path, error))
    return false;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    T item;
    if (!read(list[i], ElementPath(list_path, i), &item, error))
      return false;
    out->push_back(item);
  }
  return true;
}

bool ReadConnectInfo(const Json::Value& json, const std::string& path, ConnectInfo* info,
                     std::string* error) {
  return RequireObject(json, path, error) &&
         ReadText(json, path, "id_connection", &info->id_connection, error) &&
         ReadText(json, path, "id_comp_client", &info->id_comp_client, error) &&
         ReadText(json, path, "id_redirector", &info->id_redirector, error) &&
         ReadFlag(json, path, "is_udp", &info->is_udp, error) &&
         ReadText(json, path, "compress", &info->compress, error) &&
         ReadFlag(json, path, "reconnect", &info->reconnect, error);
}

bool ReadInvite(const Json::Value& json, const std::string& path, DeviceInvite* invite,
                std::string* error) {
  return RequireObject(json, path, error) &&
         ReadId(json, path, "id_invite", &invite->id_invite, error) &&
         ReadText(json, path, "email", &invite->email, error) &&
         ReadText(json, path, "status", &invite->status, error);
}

bool ReadDevice(const Json::Value& json, const std::string& path, Device* device,
                std::string* error) {
  if (!RequireObject(json, path, error) || !ReadId(json, path, "id", &device->id, error) ||
      !ReadText(json, path, "name", &device->name, error) ||
      !ReadText(json, path, "description", &device->description, error) ||
      !ReadText(json, path, "status", &device->status, error) ||
      !ReadFlag(json, path, "locked", &device->locked, error) ||
      !ReadText(json, path, "comport_name", &device->comport_name, error) ||
      !ReadList(json, path, "invites", &device->invites, error, ReadInvite))
    return false;
  if (!json.isMember("connect_info"))
    return true;
  device->connect_info.emplace();
  return ReadConnectInfo(json["connect_info"], MemberPath(path, "connect_info"),
                         &*device->connect_info, error);
}

bool ReadComputer(const Json::Value& json, const std::string& path, Computer* computer,
                  std::string* error) {
  return RequireObject(json, path, error) &&
         ReadId(json, path, "id_comp", &computer->id_comp, error) &&
         ReadText(json, path, "comp_name", &computer->comp_name, error) &&
         ReadText(json, path, "status", &computer->status, error) &&
         ReadText(json, path, "email", &computer->email, error) &&
         ReadList(json, path, "devices", &computer->devices, error, ReadDevice);
}

bool ReadAccount(const Json::Value& json, const std::string& path, Account* account,
                 std::string* error) {
  if (!RequireObject(json, path, error) || !ReadText(json, path, "email", &account->email, error) ||
      !ReadFlag(json, path, "logged_in", &account->logged_in, error) ||
      !ReadText(json, path, "password_salt", &account->password.salt, error) ||
      !ReadText(json, path, "password_hash", &account->password.digest, error) ||
      !ReadText(json, path, "password_kdf", &account->password.kdf, error) ||
      !ReadUint(json, path, "password_iterations", &account->password.iterations, error,
                kMostPasswordIterations))
    return false;
  if (!json.isMember("password"))
    return true;
  std::string password;
  if (!ReadText(json, path, "password", &password, error))
    return false;
  account->password = HashWhenNeeded(password);
  return true;
}

bool ReadService(const Json::Value& json, const std::string& path, Service* service,
                 std::string* error) {
  if (!RequireObject(json, path, error) || !ReadText(json, path, "pipe", &service->pipe, error) ||
      !ReadText(json, path, "usb_driver", &service->usb_driver, error) ||
      !ReadText(json, path, "serial_driver", &service->serial_driver, error))
    return false;
  if (!json.isMember("server"))
    return true;
  service->server.emplace();
  return ReadText(json, path, "server", &*service->server, error);
}

Json::Value DeviceToJson(const Device& device) {
  Json::Value json;
  json["id"] = device.id;
  json["name"] = device.name;
  json["description"] = device.description;
  json["status"] = device.status;
  json["locked"] = device.locked;
  json["comport_name"] = device.comport_name;
  if (device.connect_info)
    json["connect_info"] = ConnectInfoToJson(*device.connect_info);
  Json::Value& invites = json["invites"] = Json::Value(Json::arrayValue);
  for (const DeviceInvite& invite : device.invites)
    invites.append(InviteToJson(invite));
  return json;
}

Json::Value ComputerToJson(const Computer& computer, Owner owner) {
  Json::Value json;
  json["id_comp"] = computer.id_comp;
  json["comp_name"] = computer.comp_name;
  if (owner != Owner::kLocal)
    json["status"] = computer.status;
  if (owner == Owner::kOtherAccount)
    json["email"] = computer.email;
  Json::Value& devices = json["devices"] = Json::Value(Json::arrayValue);
  for (const Device& device : computer.devices)
    devices.append(DeviceToJson(device));
  return json;
}

Json::Value ComputersToJson(const std::vector<Computer>& computers, Owner owner) {
  Json::Value json(Json::arrayValue);
  for (const Computer& computer : computers)
    json.append(ComputerToJson(computer, owner));
  return json;
}

}  // namespace

bool WorldFromJson(const Json::Value& json, const std::string& path, World* world,
                   std::string* error) {
  World read;
  if (!RequireObject(json, path, error) || !ReadText(json, path, "version", &read.version, error) ||
      !ReadList(json, path, "remote", &read.remote, error, ReadComputer) ||
      !ReadList(json, path, "other", &read.other, error, ReadComputer) ||
      !ReadObject(json, path, "default_params", &read.default_params, error) ||
      !ReadObject(json, path, "proxy", &read.proxy, error) ||
      (json.isMember("service") &&
       !ReadService(json["service"], MemberPath(path, "service"), &read.service, error)))
    return false;
  if (json.isMember("account") &&
      !ReadAccount(json["account"], MemberPath(path, "account"), &read.account.emplace(), error))
    return false;
  if (json.isMember("local") &&
      !ReadComputer(json["local"], MemberPath(path, "local"), &read.local.emplace(), error))
    return false;
  *world = std::move(read);
  return true;
}

Json::Value ConnectInfoToJson(const ConnectInfo& info) {
  Json::Value json;
  json["id_connection"] = info.id_connection;
  json["id_comp_client"] = info.id_comp_client;
  json["id_redirector"] = info.id_redirector;
  json["is_udp"] = info.is_udp;
  json["compress"] = info.compress;
  json["reconnect"] = info.reconnect;
  return json;
}

Json::Value InviteToJson(const DeviceInvite& invite) {
  Json::Value json;
  json["id_invite"] = invite.id_invite;
  json["email"] = invite.email;
  json["status"] = invite.status;
  return json;
}

Json::Value WorldToJson(const World& world) {
  Json::Value json;
  json["version"] = world.version;
  if (world.account) {
    Json::Value& account = json["account"];
    account["email"] = world.account->email;
    const PasswordHash& password = StoredForm(world.account->password);
    account["password_salt"] = password.salt;
    account["password_hash"] = password.digest;
    if (!password.kdf.empty()) {
      account["password_kdf"] = password.kdf;
      account["password_iterations"] = password.iterations;
    }
    account["logged_in"] = world.account->logged_in;
  }
  Json::Value& service = json["service"];
  service["pipe"] = world.service.pipe;
  if (world.service.server)
    service["server"] = *world.service.server;
  service["usb_driver"] = world.service.usb_driver;
  service["serial_driver"] = world.service.serial_driver;
  if (world.local)
    json["local"] = ComputerToJson(*world.local, Owner::kLocal);
  json["remote"] = ComputersToJson(world.remote, Owner::kAccount);
  json["other"] = ComputersToJson(world.other, Owner::kOtherAccount);
  json["default_params"] = world.default_params;
  json["proxy"] = world.proxy;
  return json;
}

}  // namespace standin
