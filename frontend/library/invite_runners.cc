#include "frontend/library/invite_runners.h"

#include <stdint.h>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/command_runner.h"
#include "frontend/library/library_document.h"
#include "frontend/library/library_interface.h"
#include "frontend/library/service_state.h"
#include "platform/console_output.h"

namespace {

const char kRecordUnreadable[] = "ERROR: failed to parse info about device";

int Refuse(const char* line) {
  PrintLine(line);
  return 1;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Once the invite has passed its checks: the channel, the request, the answer.
int SendInviteRequest(WN_CommandId(WN_CALL* request)(VARIANT, int32_t),
                      const ScopedVariant& invite) {
  if (!PrepareEventChannel())
    return 1;
  return SendAndCheckAnswer([&] { return request(invite.get(), kUnusedRequestInt); },
                            kCommandWaitMs, kPlainRunnerMessages);
}

}  // namespace

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i]))
      return false;
  }
  return true;
}

int RunMakeInviteCommand(const std::string& id_device, const std::string& email) {
  std::string id_comp;
  std::string device_id;
  if (!PassGateAndResolveDevice(id_device, &id_comp, &device_id) || !PrepareEventChannel())
    return 1;
  ScopedVariant comp_value(id_comp);
  ScopedVariant device_value(device_id);
  {
    Json::Value record;
    if (!ReadLibraryDocumentOrPrint(
            [&](VARIANT* info) {
              return WN_GetDeviceInfo(comp_value.get(), device_value.get(), info);
            },
            "ERROR: device not found", kRecordUnreadable, &record))
      return 1;
    bool locked = false;
    // A "locked" that is a text, an array or an object says nothing sure.
    if (!JsonAsBool(JsonMember(record, "locked"), &locked))
      return Refuse(kRecordUnreadable);
    if (locked)
      return Refuse("ERROR: device locked");
  }
  {
    ScopedVariant own_email;
    if (!WN_GetEmail(own_email.out()))
      return Refuse("ERROR: Unable to get email from library");
    if (EqualsIgnoringAsciiCase(VariantToString(own_email.get()), email))
      return Refuse("ERROR: Unable to send invite to yourself");
  }
  ScopedVariant email_value(email);
  return SendAndCheckAnswer(
      [&] {
        return WN_MakeInviteAsync(comp_value.get(), device_value.get(), email_value.get(),
                                  kUnusedRequestInt);
      },
      kCommandWaitMs, kPlainRunnerMessages);
}

int RunAcceptInviteCommand(const std::string& id_invite) {
  if (!PassLoggedInGate())
    return 1;
  ScopedVariant invite_value(id_invite);
  std::string own_email;
  {
    ScopedVariant email;
    if (!WN_GetEmail(email.out()))
      return Refuse("ERROR: Unable to get email from library");
    own_email = VariantToString(email.get());
  }
  {
    Json::Value record;
    if (!ReadLibraryDocumentOrPrint(
            [&](VARIANT* info) { return WN_GetInviteInfo(invite_value.get(), info); },
            "ERROR: invite not found", kRecordUnreadable, &record))
      return 1;
    if (JsonMemberText(record, "from") == own_email)
      return Refuse("ERROR: can't accept invite sent to other account");
  }
  return SendInviteRequest(WN_AcceptInviteAsync, invite_value);
}

int RunDeleteInviteCommand(const std::string& id_invite) {
  if (!PassLoggedInGate())
    return 1;
  ScopedVariant invite_value(id_invite);
  {
    // Only whether the invite exists counts; its record is not read.
    ScopedVariant info;
    if (!WN_GetInviteInfo(invite_value.get(), info.out()))
      return Refuse("ERROR: invite not found");
  }
  return SendInviteRequest(WN_DeleteInviteAsync, invite_value);
}
