#include "frontend/reports/computer_listings.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/convert/printable_text.h"
#include "frontend/library/library_document.h"
#include "frontend/library/service_state.h"
#include "frontend/reports/computer_blocks.h"
#include "frontend/reports/device_rows.h"
#include "frontend/reports/invite_listing.h"
#include "platform/console_output.h"
#include "wirenestdk.h"

namespace {

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
    std::string status = JsonMemberText(invite, "status");
    lines += "\n\t\t\tID:" + PrintableText(JsonMemberText(invite, "id_invite")) + " to <" +
             PrintableText(JsonMemberText(invite, "email")) + "> (" +
             (status == "created" ? "sent" : PrintableText(status)) + ")";
  }
  PrintLine(lines);
}

}  // namespace

int ShowComputers(const std::string& kind, bool devices, bool verbose, bool invites, bool online,
                  bool offline) {
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
  const char kBadData[] = "ERROR: bad data format with local computer info.";
  ScopedVariant id_value("local");
  Json::Value info;
  if (!ReadLibraryDocumentOrPrint(
          [&](VARIANT* answer) { return WN_GetComputerInfo(id_value.get(), answer); },
          "ERROR: can't get info about local computer.", kBadData, &info))
    return 1;
  // Unlike a remote computer's, the local computer's info may not be null.
  if (!info.isObject()) {
    PrintLine(kBadData);
    return 1;
  }
  std::string id = JsonMemberText(info, "id_comp");
  std::string name = JsonMemberText(info, "comp_name");
  int count = 0;
  bool local = false;
  if (!JsonMemberInt(info, "devices", &count) || !JsonAsBool(JsonMember(info, "local"), &local) ||
      !local)
    return PrintWrongData();
  PrintLine(PrintableText(id) + "\tLocal computer: '" + PrintableText(name) + "' (" +
            std::to_string(count) + " devices)");
  if (devices && count != 0)
    return ShowComputerDevices(id, count, verbose, true, invites);
  return 0;
}

int ShowRemoteComputers(bool devices, bool verbose, bool invites, bool online, bool offline) {
  return ListComputers(
      "remote", "This account has no remote computers", online, offline,
      [&](const std::string& id) { return ShowRemoteComputer(id, devices, verbose, invites); });
}

int ShowRemoteComputer(const std::string& computer_id, bool devices, bool verbose, bool invites) {
  Json::Value info;
  int count = 0;
  if (!GetComputerInfo(computer_id, &info, &count))
    return 1;
  std::string name = JsonMemberText(info, "comp_name");
  std::string line = PrintableText(computer_id) + "\tRemote computer '" + PrintableText(name) + "'";
  if (JsonMemberText(info, "status") == "offline") {
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
