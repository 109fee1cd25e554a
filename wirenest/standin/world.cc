#include "wirenest/standin/world.h"

#include <ctype.h>

#include <algorithm>

namespace standin {

bool IsLoggedIn(const World& world) { return world.account && world.account->logged_in; }

std::string ServerStatus(const World& world) {
  if (world.service.server)
    return *world.service.server;
  return IsLoggedIn(world) ? "connected" : "login_required";
}

bool IsOffline(const Computer& computer) { return computer.status == "offline"; }

bool EmailsEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

namespace {

bool IsVisible(const Device& device, Owner owner) {
  return owner != Owner::kOtherAccount || !device.invites.empty();
}

const std::string& IdOf(const Computer& computer) { return computer.id_comp; }
const std::string& IdOf(const Device& device) { return device.id; }

// The first place of `id` in `list` as far as the index tells; nothing when
// it cannot tell, and the caller walks the list. Ids are not changed in
// place; were one changed, the index would miss it or point elsewhere, and
// the walk decides.
template <typename T>
std::optional<size_t> IndexedPlace(const std::vector<T>& list, IdIndex* index,
                                   const std::string& id) {
  if (index->made_for != list.data() || index->size != list.size()) {
    *index = IdIndex();
    index->made_for = list.data();
    index->size = list.size();
    index->first.reserve(list.size());
    for (size_t i = 0; i < list.size() && index->unique; ++i)
      index->unique = index->first.emplace(IdOf(list[i]), i).second;
  }
  if (!index->unique)
    return std::nullopt;
  auto entry = index->first.find(id);
  if (entry == index->first.end() || IdOf(list[entry->second]) != id)
    return std::nullopt;
  return entry->second;
}

bool OffersADevice(const Computer& computer) {
  return std::any_of(computer.devices.begin(), computer.devices.end(),
                     [](const Device& device) { return IsVisible(device, Owner::kOtherAccount); });
}

}  // namespace

std::optional<ComputerPlace> FindComputer(const World& world, const std::string& id_comp) {
  if (world.local && (id_comp == "local" || id_comp == world.local->id_comp))
    return ComputerPlace{Owner::kLocal, 0};
  if (std::optional<size_t> i = IndexedPlace(world.remote, &world.remote_index, id_comp))
    return ComputerPlace{Owner::kAccount, *i};
  for (size_t i = 0; i < world.remote.size(); ++i)
    if (world.remote[i].id_comp == id_comp)
      return ComputerPlace{Owner::kAccount, i};
  if (std::optional<size_t> i = IndexedPlace(world.other, &world.other_index, id_comp)) {
    if (!OffersADevice(world.other[*i]))
      return std::nullopt;
    return ComputerPlace{Owner::kOtherAccount, *i};
  }
  for (size_t i = 0; i < world.other.size(); ++i)
    if (world.other[i].id_comp == id_comp && OffersADevice(world.other[i]))
      return ComputerPlace{Owner::kOtherAccount, i};
  return std::nullopt;
}

std::vector<size_t> VisibleDevices(const World& world, const ComputerPlace& place) {
  const Computer& computer = ComputerAt(world, place);
  std::vector<size_t> visible;
  for (size_t i = 0; i < computer.devices.size(); ++i)
    if (IsVisible(computer.devices[i], place.owner))
      visible.push_back(i);
  return visible;
}

std::optional<DevicePlace> FindDevice(const World& world, const std::string& id_comp,
                                      const std::string& id_device) {
  std::optional<ComputerPlace> computer = FindComputer(world, id_comp);
  if (!computer)
    return std::nullopt;
  const Computer& found = ComputerAt(world, *computer);
  const std::vector<Device>& devices = found.devices;
  if (std::optional<size_t> i = IndexedPlace(devices, &found.device_index, id_device)) {
    if (!IsVisible(devices[*i], computer->owner))
      return std::nullopt;
    return DevicePlace{*computer, *i};
  }
  for (size_t i = 0; i < devices.size(); ++i)
    if (devices[i].id == id_device && IsVisible(devices[i], computer->owner))
      return DevicePlace{*computer, i};
  return std::nullopt;
}

std::optional<InvitePlace> FindInvite(const World& world, const std::string& id_invite) {
  std::vector<ComputerPlace> computers;
  if (world.local)
    computers.push_back({Owner::kLocal, 0});
  for (size_t i = 0; i < world.remote.size(); ++i)
    computers.push_back({Owner::kAccount, i});
  for (size_t i = 0; i < world.other.size(); ++i)
    computers.push_back({Owner::kOtherAccount, i});
  for (const ComputerPlace& computer : computers) {
    const std::vector<Device>& devices = ComputerAt(world, computer).devices;
    for (size_t d = 0; d < devices.size(); ++d)
      for (size_t i = 0; i < devices[d].invites.size(); ++i)
        if (devices[d].invites[i].id_invite == id_invite)
          return InvitePlace{DevicePlace{computer, d}, i};
  }
  return std::nullopt;
}

const Computer& ComputerAt(const World& world, const ComputerPlace& place) {
  switch (place.owner) {
    case Owner::kLocal:
      return *world.local;
    case Owner::kAccount:
      return world.remote[place.index];
    case Owner::kOtherAccount:
      break;
  }
  return world.other[place.index];
}

Computer& ComputerAt(World* world, const ComputerPlace& place) {
  return const_cast<Computer&>(ComputerAt(*static_cast<const World*>(world), place));
}

const Device& DeviceAt(const World& world, const DevicePlace& place) {
  return ComputerAt(world, place.computer).devices[place.index];
}

Device& DeviceAt(World* world, const DevicePlace& place) {
  return ComputerAt(world, place.computer).devices[place.index];
}

}  // namespace standin
