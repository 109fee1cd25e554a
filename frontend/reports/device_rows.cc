#include "frontend/reports/device_rows.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/convert/printable_text.h"
#include "frontend/devices/device_aliases.h"
#include "frontend/devices/device_list.h"
#include "frontend/library/library_document.h"
#include "platform/console_output.h"
#include "wirenestdk.h"

int PrintWrongData() {
  PrintLine("ERROR: wrong data returned.");
  return 1;
}

int ListComputerDevices(const std::string& computer_id, int expected_count,
                        const DevicePrinter& show_device) {
  DeviceList list = ReadDeviceList(computer_id);
  if (list.count != expected_count) {
    PrintLine("Wrong number of devices: " + std::to_string(list.count));
    return 1;
  }
  if (!list.parsed) {
    PrintLine("ERROR: failed to parse json as list of devices ids");
    return 1;
  }
  if (static_cast<long long>(list.ids.size()) != expected_count) {
    PrintLine("ERROR: number of devices mismatch");
    return 1;
  }
  DeviceHashMap hashes;
  HashDeviceIds(list.ids, &hashes);
  DeviceAliasMap aliases;
  MakeDeviceAliases(hashes, &aliases);

  PrintLine("\tDevices:");
  const std::string kReadFailed = "ERROR: failed to read info about device";
  const std::string kParseFailed = "ERROR: failed to parse info about device";
  ScopedVariant computer_value(computer_id);
  for (const std::string& real_id : list.ids) {
    ScopedVariant device_value(real_id);
    Json::Value device;
    if (!ReadLibraryDocumentOrPrint(
            [&](VARIANT* info) {
              return WN_GetDeviceInfo(computer_value.get(), device_value.get(), info);
            },
            kReadFailed, kParseFailed, &device))
      return 1;
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
  details->connection_id = JsonMemberText(connect_info, "id_connection");
  details->client_id = JsonMemberText(connect_info, "id_comp_client");
  if (!JsonMemberText(connect_info, "id_redirector").empty())
    details->kind = "connection via redirector";
  else if (JsonMemberText(connect_info, "is_udp") == "true")
    details->kind = "udp connection";
  else
    details->kind = "direct connection";
  details->compression = ShownCompression(JsonMemberText(connect_info, "compress"));
  return true;
}

bool ReadDeviceState(const Json::Value& device, bool local_computer, DeviceState* state) {
  *state = DeviceState();
  if (!IsObjectOrNull(device))
    return false;
  state->name = JsonMemberText(device, "name");
  state->description = JsonMemberText(device, "description");
  std::string status = JsonMemberText(device, "status");
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
  std::string line;
  AppendPrintableText(computer_id, &line);
  line += '-';
  line += alias;
  line += "\t\t";
  AppendPrintableText(state.name, &line);
  return line;
}

void PrintDeviceDetails(std::string line, const DeviceState& state, const std::string& real_id,
                        bool verbose, bool local_computer) {
  if (state.offline)
    line += " [OFFLINE]";
  if (!verbose) {
    if (!state.description.empty()) {
      line += " {";
      AppendPrintableText(state.description, &line);
      line += '}';
    }
    if (state.locked)
      line += " - LOCKED";
    if (state.connected) {
      line += " - connected to computer ";
      AppendPrintableText(state.connection.client_id, &line);
    }
    PrintLine(line);
    return;
  }
  PrintLine(line);
  if (!state.description.empty()) {
    line = "\t\tDescription: ";
    AppendPrintableText(state.description, &line);
    PrintLine(line);
  }
  line = "\t\tReal device id: ";
  AppendPrintableText(real_id, &line);
  PrintLine(line);
  if (state.locked) {
    PrintLine("\t\tDevice locked");
  } else if (state.connected) {
    const ConnectionDetails& connection = state.connection;
    line = "\t\tConnected to computer ";
    AppendPrintableText(connection.client_id, &line);
    line += " (" + connection.kind + "; compression=";
    AppendPrintableText(connection.compression, &line);
    line += "; connection id=";
    AppendPrintableText(connection.connection_id, &line);
    line += ')';
    PrintLine(line);
  } else if (local_computer) {
    PrintLine("\t\tDevice available for connection");
  }
}
