#include "frontend/devices/device_aliases.h"

#include <algorithm>
#include <string_view>

#include "frontend/devices/device_list.h"
#include "frontend/devices/md5_hex.h"
#include "platform/console_output.h"

namespace {

const size_t kFirstAliasLength = 2;
const size_t kLongestAliasLength = 32;

}  // namespace

void HashDeviceIds(const std::vector<std::string>& device_ids, DeviceHashMap* hashes) {
  for (const std::string& id : device_ids)
    (*hashes)[id] = Md5Hex(id);
}

namespace {

// The devices after the first that share a prefix of `length` digits: in
// sorted order, each prefix equal to the one before it. `prefixes` is the
// pass's room, kept from pass to pass.
size_t CountRepeatedPrefixes(const DeviceHashMap& hashes, size_t length,
                             std::vector<std::string_view>* prefixes) {
  prefixes->clear();
  for (const auto& entry : hashes)
    prefixes->push_back(std::string_view(entry.second).substr(0, length));
  std::sort(prefixes->begin(), prefixes->end());
  size_t repeats = 0;
  for (size_t i = 1; i < prefixes->size(); ++i) {
    if ((*prefixes)[i] == (*prefixes)[i - 1])
      ++repeats;
  }
  return repeats;
}

}  // namespace

void MakeDeviceAliases(const DeviceHashMap& hashes, DeviceAliasMap* aliases) {
  if (hashes.empty())
    return;
  std::vector<std::string_view> prefixes;
  prefixes.reserve(hashes.size());
  size_t length = kFirstAliasLength;
  for (;;) {
    size_t repeats = CountRepeatedPrefixes(hashes, length, &prefixes);
    // Equal digests repeat at any length: the pass at the longest one stands.
    if (repeats == 0 || length == kLongestAliasLength)
      break;
    length = std::min(length + repeats, kLongestAliasLength);
  }
  // Only the last pass's prefixes stand, so they are written once, in key
  // order (which makes the end the right hint).
  for (const auto& entry : hashes)
    aliases->insert_or_assign(aliases->end(), entry.first, entry.second.substr(0, length));
}

std::vector<std::string> FindDevices(const DeviceHashMap& hashes, const std::string& idx) {
  std::vector<std::string> matches;
  for (const auto& entry : hashes) {
    if (idx == entry.first || entry.second.compare(0, idx.size(), idx) == 0)
      matches.push_back(entry.first);
  }
  return matches;
}

bool ResolveDeviceId(const std::string& id_device, std::string* id_comp, std::string* device_id) {
  std::string comp_part, alias;
  size_t dash = id_device.find('-');
  if (dash != std::string::npos) {
    comp_part = id_device.substr(0, dash);
    alias = id_device.substr(dash + 1);
  }
  if (comp_part.empty() || alias.empty()) {
    PrintLine("ERROR: wrong id device alias;");
    PrintLine("       see \"help --id-device\" for explanations.");
    return false;
  }

  DeviceList list = ReadDeviceList(comp_part);
  if (list.count <= 0) {
    PrintLine("ERROR: device not found");
    return false;
  }
  if (!list.parsed) {
    PrintLine("ERROR: failed to parse json as list of devices ids");
    return false;
  }
  DeviceHashMap hashes;
  HashDeviceIds(list.ids, &hashes);

  std::vector<std::string> matches = FindDevices(hashes, alias);
  if (matches.empty()) {
    PrintLine("ERROR: device not found");
    return false;
  }
  if (matches.size() > 1) {
    PrintLine("ERROR: found more than one device with such id alias. Use longer id alias.");
    return false;
  }
  *id_comp = comp_part;
  *device_id = matches.front();
  return true;
}
