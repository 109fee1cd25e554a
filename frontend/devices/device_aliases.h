// Device aliases (short prefixes of the MD5 digests of real device ids) and
// the resolution of an ID_DEVICE argument, "{ID_COMP}-{IDx}".
#ifndef WNCTL_FRONTEND_DEVICES_DEVICE_ALIASES_H_
#define WNCTL_FRONTEND_DEVICES_DEVICE_ALIASES_H_

#include <map>
#include <string>
#include <vector>

// Real device id to its digest, and real device id to its alias, both in
// the byte order of the real ids.
typedef std::map<std::string, std::string> DeviceHashMap;
typedef std::map<std::string, std::string> DeviceAliasMap;

void HashDeviceIds(const std::vector<std::string>& device_ids, DeviceHashMap* hashes);

// One prefix length for all devices of one computer, lengthened until no two
// devices share a prefix.
void MakeDeviceAliases(const DeviceHashMap& hashes, DeviceAliasMap* aliases);

// The real ids of the devices that IDx names: its real id, or a prefix of
// its digest; each device at most once, in map order.
std::vector<std::string> FindDevices(const DeviceHashMap& hashes, const std::string& idx);

// Splits ID_DEVICE and finds the one device of ID_COMP it names, asking the
// library for the computer's device list. False (with the error printed and
// both outputs untouched) when it names none or several.
bool ResolveDeviceId(const std::string& id_device, std::string* id_comp, std::string* device_id);

#endif  // WNCTL_FRONTEND_DEVICES_DEVICE_ALIASES_H_
