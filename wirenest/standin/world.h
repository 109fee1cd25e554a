// The structured world the stand-in plays: the account, the service, the
// local computer, the account's other computers and the computers of other
// accounts that offer devices through invites.
#ifndef WIRENEST_STANDIN_WORLD_H_
#define WIRENEST_STANDIN_WORLD_H_

#include <stddef.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <json/json.h>

#include "wirenest/standin/password_hash.h"

namespace standin {

struct ConnectInfo {
  std::string id_connection;
  std::string id_comp_client;  // the computer that uses the device
  std::string id_redirector;   // not empty: the connection runs through it
  bool is_udp = false;
  std::string compress = "no";  // "zlib", "lz4" or "no"
  bool reconnect = true;
};

// On an own device: an invite sent for it to `email`. On a device of another
// account: an invite offering it to this account; `email` is unused there,
// the sender being the computer's owner.
struct DeviceInvite {
  std::string id_invite;
  std::string email;
  std::string status = "created";  // or "accepted"
};

struct Device {
  std::string id;
  std::string name;
  std::string description;
  std::string status = "free";  // "free", "shared" or "offline"
  bool locked = false;
  std::string comport_name;
  // Kept while the device is offline too: the connection waits to reconnect.
  std::optional<ConnectInfo> connect_info;
  std::vector<DeviceInvite> invites;
};

// Where each id first stands in a list of computers or devices, so that a
// listing's one lookup per device does not walk the lists. Made by the Find
// functions for the list as it then is; a list of another address or length
// makes it again. Not part of the world: neither read nor written as such.
struct IdIndex {
  const void* made_for = nullptr;
  size_t size = 0;
  bool unique = true;  // false: an id repeats, and lookups walk the list
  std::unordered_map<std::string, size_t> first;
};

struct Computer {
  std::string id_comp;
  std::string comp_name;
  std::string status = "online";  // "online" or "offline"; local: unused
  std::string email;              // the owner, on computers of other accounts
  std::vector<Device> devices;
  mutable IdIndex device_index;
};

struct Account {
  std::string email;
  PasswordHash password;
  bool logged_in = false;
};

struct Service {
  std::string pipe = "connected";
  std::optional<std::string> server;  // absent: follows the login
  std::string usb_driver = "OK";
  std::string serial_driver = "OK";
};

struct World {
  std::string version = "2.6.0-standin";
  std::optional<Account> account;
  Service service;
  std::optional<Computer> local;
  std::vector<Computer> remote;  // the account's other computers
  std::vector<Computer> other;   // computers of other accounts
  Json::Value default_params = Json::Value(Json::objectValue);
  Json::Value proxy = Json::Value(Json::objectValue);
  mutable IdIndex remote_index, other_index;
};

enum class Owner { kLocal, kAccount, kOtherAccount };

// Where a computer, device or invite stands in the world; valid until the
// world's lists change.
struct ComputerPlace {
  Owner owner = Owner::kLocal;
  size_t index = 0;  // in `remote` or `other`
};

struct DevicePlace {
  ComputerPlace computer;
  size_t index = 0;
};

struct InvitePlace {
  DevicePlace device;
  size_t index = 0;
};

bool IsLoggedIn(const World& world);
std::string ServerStatus(const World& world);
bool IsOffline(const Computer& computer);
bool EmailsEqual(const std::string& a, const std::string& b);  // ignoring ASCII case

// "local" names the local computer. Computers of other accounts are known
// only while they offer a device; so are their devices.
std::optional<ComputerPlace> FindComputer(const World& world, const std::string& id_comp);
std::vector<size_t> VisibleDevices(const World& world, const ComputerPlace& place);
std::optional<DevicePlace> FindDevice(const World& world, const std::string& id_comp,
                                      const std::string& id_device);
std::optional<InvitePlace> FindInvite(const World& world, const std::string& id_invite);

const Computer& ComputerAt(const World& world, const ComputerPlace& place);
Computer& ComputerAt(World* world, const ComputerPlace& place);
const Device& DeviceAt(const World& world, const DevicePlace& place);
Device& DeviceAt(World* world, const DevicePlace& place);

}  // namespace standin

#endif  // WIRENEST_STANDIN_WORLD_H_
