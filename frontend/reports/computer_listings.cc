#include "frontend/reports/computer_listings.h"

#include <stdint.h>

#include <vector>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/convert/printable_text.h"
#include "frontend/devices/device_aliases.h"
#include "frontend/library/command_runner.h"
#include "frontend/reports/invite_listing.h"
#include "platform/console_output.h"
#include "wirenestdk.h"

namespace {

std::string MemberText(const Json::Value& value, const char* key) {
  return JsonAsText(JsonMember(value, key));
}

bool MemberInt(const Json::Value& value, const char* key, int* result) {
  int32_t number = 0;
  if (!JsonAsInt(JsonMember(value, key), &number))
    return false;
  *result = number;
  return true;
}

// Elements of an array or members of an object (in name order); anything
// else has none.
bool InvitesReadable(const Json::Value& invites) {
  for (const Json::Value& invite : invites) {
    if (!IsObjectOrNull(invite))
      return false;
  }
  return true;
}

void PrintInvites(const Json::Value& invites) {
  std::string lines = "\t\tInvites: ";
  for (const Json::Value& invite : invites) {
    std::string status = MemberText(invite, "status");
    lines += "\n\t\t\tID:" + PrintableText(MemberText(invite, "id_invite")) + " to <" +
             PrintableText(MemberText(invite, "email")) + "> (" +
             (status == "created" ? "sent" : PrintableText(status)) + ")";
  }
  PrintLine(lines);
}

}  // namespace

int PrintWrongData() {
  PrintLine("ERROR: wrong data returned.");
  return 1;
}

int ShowComputers(const std::string& kind, bool devices, bool verbose, bool invites,
                  bool online, bool offline) {
  if (kind == "local")
    return ShowLocalComputer(devices, verbose, invites);
  if (kind == "remote")
    return ShowRemoteComputers(devices, verbose, invites, online, offline);
  if (kind == "other")
    return ShowInviteComputers(devices, verbose, online, offline);
  PrintLine("ERROR: wrong filter value.");
  return 1;
}

int ShowLocalComputer(bool devices, bool verbose, bool invites) {
  if (!PassLoggedInGate())
    return 1;
  ScopedVariant id_value("local");
  ScopedVariant info_value;
  if (!WN_GetComputerInfo(id_value.get(), info_value.out())) {
    PrintLine("ERROR: can't get info about local computer.");
    return 1;
  }
  Json::Value info;
  if (!VariantToJson(info_value.get(), &info) || !info.isObject()) {
    PrintLine("ERROR: bad data format with local computer info.");
    return 1;
  }
  std::string id = MemberText(info, "id_comp");
  std::string name = MemberText(info, "comp_name");
  int count = 0;
  bool local = false;
  if (!MemberInt(info, "devices", &count) || !JsonAsBool(JsonMember(info, "local"), &local) ||
      !local)
    return PrintWrongData();
  PrintLine(PrintableText(id) + "\tLocal computer: '" + PrintableText(name) + "' (" +
            std::to_string(count) + " devices)");
  if (devices && count != 0)
    return ShowComputerDevices(id, count, verbose, true, invites);
  return 0;
}

int ListComputers(const std::string& filter_word, const char* empty_message, bool online,
                  bool offline, const std::function<int(const std::string&)>& show_computer) {
  if (!PassLoggedInGate())
    return 1;
  std::string filter = filter_word;
  const char* suffix = "";
  if (online && !offline) {
    filter = "online-" + filter_word;
    suffix = " which are online";
  } else if (offline && !online) {
    filter = "offline-" + filter_word;
    suffix = " which are offline";
  }
  ScopedVariant filter_value(filter);
  ScopedVariant list_value;
  int count = WN_GetComputersList(filter_value.get(), list_value.out());
  if (count < 0) {
    PrintLine("ERROR: can't get list of remote computers");
    return 1;
  }
  if (count == 0) {
    PrintLine(std::string(empty_message) + suffix);
    return 0;
  }
  std::vector<std::string> ids;
  if (!VariantToStringList(list_value.get(), &ids)) {
    PrintLine("ERROR: can't parse list of remote computers");
    return 1;
  }
  if (ids.size() != static_cast<size_t>(count)) {
    PrintLine("ERROR: number of remote computers mismatch");
    return 1;
  }
  for (const std::string& id : ids) {
    int result = show_computer(id);
    if (result != 0)
      return result;
  }
  return 0;
}

int ShowRemoteComputers(bool devices, bool verbose, bool invites, bool online,
                        bool offline) {
  return ListComputers("remote", "This account has no remote computers", online, offline,
                       [&](const std::string& id) {
                         return ShowRemoteComputer(id, devices, verbose, invites);
                       });
}

bool GetComputerInfo(const std::string& computer_id, Json::Value* info, int* device_count) {
  ScopedVariant id_value(computer_id);
  ScopedVariant info_value;
  if (!WN_GetComputerInfo(id_value.get(), info_value.out())) {
    PrintLine("ERROR: can't get info about remote computer " + PrintableText(computer_id));
    return false;
  }
  if (!VariantToJson(info_value.get(), info) || !IsObjectOrNull(*info)) {
    PrintLine("ERROR: can't parse info about remote computer " + PrintableText(computer_id));
    return false;
  }
  if (!MemberInt(*info, "devices", device_count)) {
    PrintWrongData();
    return false;
  }
  return true;
}

int FinishComputerBlock(bool devices, int device_count,
                        const std::function<int()>& list_devices) {
  if (!devices)
    return 0;
  int result = device_count != 0 ? list_devices() : 0;
  PrintLine("");
  return result;
}

int ShowRemoteComputer(const std::string& computer_id, bool devices, bool verbose,
                       bool invites) {
  Json::Value info;
  int count = 0;
  if (!GetComputerInfo(computer_id, &info, &count))
    return 1;
  std::string name = MemberText(info, "comp_name");
  std::string line =
      PrintableText(computer_id) + "\tRemote computer '" + PrintableText(name) + "'";
  if (MemberText(info, "status") == "offline") {
    line += " [OFFLINE]";
    if (count != 0)
      line += " (" + std::to_string(count) + " devices waiting for auto-reconnect)";
  } else {
    line += " (" + std::to_string(count) + " devices)";
  }
  PrintLine(line);
  return FinishComputerBlock(devices, count, [&]() {
    return ShowComputerDevices(computer_id, count, verbose, false, invites);
  });
}

int ListComputerDevices(const std::string& computer_id, int expected_count,
                        const DevicePrinter& show_device) {
  ScopedVariant computer_value(computer_id);
  ScopedVariant list_value;
  int count = WN_GetDevicesList(computer_value.get(), list_value.out());
  if (count != expected_count) {
    PrintLine("Wrong number of devices: " + std::to_string(count));
    return 1;
  }
  std::vector<std::string> ids;
  if (!VariantToStringList(list_value.get(), &ids)) {
    PrintLine("ERROR: failed to parse json as list of devices ids");
    return 1;
  }
  if (static_cast<long long>(ids.size()) != expected_count) {
    PrintLine("ERROR: number of devices mismatch");
    return 1;
  }
  DeviceHashMap hashes;
  HashDeviceIds(ids, &hashes);
  DeviceAliasMap aliases;
  MakeDeviceAliases(hashes, &aliases);

  PrintLine("\tDevices:");
  for (const std::string& real_id : ids) {
    ScopedVariant device_value(real_id);
    ScopedVariant info_value;
    if (!WN_GetDeviceInfo(computer_value.get(), device_value.get(), info_value.out())) {
      PrintLine("ERROR: failed to read info about device");
      return 1;
    }
    Json::Value device;
    if (!VariantToJson(info_value.get(), &device) || !IsObjectOrNull(device)) {
      PrintLine("ERROR: failed to parse info about device");
      return 1;
    }
    int result = show_device(real_id, aliases[real_id], device);
    if (result != 0)
      return result;
  }
  return 0;
}

std::string ShownCompression(const std::string& compress) {
  if (compress == "zlib")
    return "bestsize";
  if (compress == "lz4")
    return "bestspeed";
  return compress;
}

bool ReadConnectionDetails(const Json::Value& connect_info, ConnectionDetails* details) {
  *details = ConnectionDetails();
  if (IsEmptyJson(connect_info))
    return true;
  if (!connect_info.isObject())
    return false;
  details->connection_id = MemberText(connect_info, "id_connection");
  details->client_id = MemberText(connect_info, "id_comp_client");
  if (!MemberText(connect_info, "id_redirector").empty())
    details->kind = "connection via redirector";
  else if (MemberText(connect_info, "is_udp") == "true")
    details->kind = "udp connection";
  else
    details->kind = "direct connection";
  details->compression = ShownCompression(MemberText(connect_info, "compress"));
  return true;
}

bool ReadDeviceState(const Json::Value& device, bool local_computer, DeviceState* state) {
  *state = DeviceState();
  if (!IsObjectOrNull(device))
    return false;
  state->name = MemberText(device, "name");
  state->description = MemberText(device, "description");
  std::string status = MemberText(device, "status");
  if (local_computer && !JsonAsBool(JsonMember(device, "locked"), &state->locked))
    return false;
  state->connected = !state->locked && status == "shared";
  state->offline = status == "offline";
  if (state->connected)
    return ReadConnectionDetails(JsonMember(device, "connect_info"), &state->connection);
  return true;
}

std::string DeviceLineStart(const std::string& computer_id, const std::string& alias,
                            const DeviceState& state) {
  return PrintableText(computer_id) + "-" + alias + "\t\t" + PrintableText(state.name);
}

void PrintDeviceDetails(std::string line, const DeviceState& state, const std::string& real_id,
                        bool verbose, bool local_computer) {
  if (state.offline)
    line += " [OFFLINE]";
  if (!verbose) {
    if (!state.description.empty())
      line += " {" + PrintableText(state.description) + "}";
    if (state.locked)
      line += " - LOCKED";
    if (state.connected)
      line += " - connected to computer " + PrintableText(state.connection.client_id);
    PrintLine(line);
    return;
  }
  PrintLine(line);
  if (!state.description.empty())
    PrintLine("\t\tDescription: " + PrintableText(state.description));
  PrintLine("\t\tReal device id: " + PrintableText(real_id));
  if (state.locked) {
    PrintLine("\t\tDevice locked");
  } else if (state.connected) {
    const ConnectionDetails& connection = state.connection;
    PrintLine("\t\tConnected to computer " + PrintableText(connection.client_id) + " (" +
              connection.kind + "; compression=" + PrintableText(connection.compression) +
              "; connection id=" + PrintableText(connection.connection_id) + ")");
  } else if (local_computer) {
    PrintLine("\t\tDevice available for connection");
  }
}

int ShowComputerDevices(const std::string& computer_id, int expected_count, bool verbose,
                        bool local_computer, bool invites) {
  return ListComputerDevices(
      computer_id, expected_count,
      [&](const std::string& real_id, const std::string& alias, const Json::Value& device) {
        DeviceState state;
        const Json::Value& invite_list =
            invites ? JsonMember(device, "invites") : Json::Value::nullSingleton();
        if (!ReadDeviceState(device, local_computer, &state) || !InvitesReadable(invite_list))
          return PrintWrongData();
        PrintDeviceDetails(DeviceLineStart(computer_id, alias, state), state, real_id, verbose,
                           local_computer);
        if (!IsEmptyJson(invite_list))
          PrintInvites(invite_list);
        return 0;
      });
}
