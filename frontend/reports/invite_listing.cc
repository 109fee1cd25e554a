#include "frontend/reports/invite_listing.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/printable_text.h"
#include "frontend/reports/computer_blocks.h"
#include "frontend/reports/device_rows.h"
#include "platform/console_output.h"

namespace {

// The one invite a device line shows; null when the member holds no element
// (a text, a number or a boolean).
const Json::Value* FirstInvite(const Json::Value& invites) {
  if (!invites.isArray() && !invites.isObject())
    return nullptr;
  return &*invites.begin();
}

}  // namespace

int ShowInviteComputers(bool devices, bool verbose, bool online, bool offline) {
  return ListComputers(
      "other", "There is no invites from other accounts", online, offline,
      [&](const std::string& id) { return ShowInviteComputer(id, devices, verbose); });
}

int ShowInviteComputer(const std::string& computer_id, bool devices, bool verbose) {
  Json::Value info;
  int count = 0;
  if (!GetComputerInfo(computer_id, &info, &count))
    return 1;
  std::string name = JsonMemberText(info, "comp_name");
  std::string email = JsonMemberText(info, "email");
  if (email.empty()) {
    PrintLine("ERROR: remote computer " + PrintableText(computer_id) +
              " from other account has no user email.");
    return 1;
  }
  std::string line = PrintableText(computer_id) + "\tComputer of <" + PrintableText(email) + "> '" +
                     PrintableText(name) + "'";
  if (JsonMemberText(info, "status") == "offline")
    line += " [OFFLINE]";
  PrintLine(line + " (" + std::to_string(count) + " invites)");
  return FinishComputerBlock(devices, count,
                             [&]() { return ShowInvitedDevices(computer_id, count, verbose); });
}

int ShowInvitedDevices(const std::string& computer_id, int expected_count, bool verbose) {
  return ListComputerDevices(
      computer_id, expected_count,
      [&](const std::string& real_id, const std::string& alias, const Json::Value& device) {
        const Json::Value& invites = JsonMember(device, "invites");
        if (IsEmptyJson(invites)) {
          PrintLine("ERROR: no detailed info about invite from other account");
          return 1;
        }
        const Json::Value* invite = FirstInvite(invites);
        DeviceState state;
        if (!invite || !IsObjectOrNull(*invite) || !ReadDeviceState(device, false, &state))
          return PrintWrongData();
        std::string status = JsonMemberText(*invite, "status");
        std::string line =
            DeviceLineStart(computer_id, alias, state) +
            " (invite ID:" + PrintableText(JsonMemberText(*invite, "id_invite")) + " - " +
            (status == "created" ? "waiting for accept" : PrintableText(status)) + ")";
        PrintDeviceDetails(line, state, real_id, verbose, false);
        return 0;
      });
}
