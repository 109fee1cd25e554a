// The library's functions with C linkage: each turns its VARIANTs into
// texts, asks the stand-in, and lets no exception out. A request's effect
// runs after the call has returned: it owns copies of its inputs.
#pragma GCC visibility push(default)
#include "wirenestdk.h"
#pragma GCC visibility pop

#include <memory>

#include "wirenest/standin/call_log.h"
#include "wirenest/standin/library.h"
#include "wirenest/standin/variant_text.h"
#include "wirenest/standin/world_actions.h"
#include "wirenest/standin/world_queries.h"

using standin::Answer;
using standin::Call;
using standin::ScriptedAnswers;
using standin::VariantText;
using standin::World;

namespace {

const Answer kNoAnswer{0, ""};
const Answer kNoCount{-1, ""};

template <typename Result, typename Body>
Result Guarded(Result failure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

int32_t Reply(const Answer& answer, VARIANT* out, int32_t failure) {
  if (!out || !standin::SetVariantText(out, answer.text))
    return failure;
  return answer.result;
}

// A query without inputs but its out-value.
int32_t Simple(const char* function, VARIANT* out,
               std::optional<Answer> (*scripted)(ScriptedAnswers*),
               Answer (*from_world)(const World&)) {
  return Guarded<int32_t>(0, [&] {
    return Reply(standin::Query(Call(function), kNoAnswer, scripted, from_world), out, 0);
  });
}

}  // namespace

extern "C" {

int32_t WN_CALL WN_SetEventCallback(WN_EventCallback callback) {
  return Guarded<int32_t>(0, [&] { return standin::SetEventCallback(callback); });
}

int32_t WN_CALL WN_EnableEventsQueue(int32_t enable) {
  return Guarded<int32_t>(0, [&] { return standin::EnableEventsQueue(enable); });
}

int32_t WN_CALL WN_GetEvents(int32_t reserved, VARIANT* batch) {
  return Guarded<int32_t>(0, [&] {
    std::string text;
    if (!standin::NextEventBatch(reserved, batch ? &text : nullptr))
      return 0;
    return Reply(Answer{1, text}, batch, 0);
  });
}

int32_t WN_CALL WN_IsOK(void) {
  return Guarded<int32_t>(0, [&] {
    return standin::Query(
               Call("WN_IsOK"), kNoAnswer,
               [](ScriptedAnswers* answers) -> std::optional<Answer> {
                 std::optional<int32_t> result = answers->NextIsOk();
                 if (!result)
                   return std::nullopt;
                 return Answer{*result, ""};
               },
               [](const World& world) {
                 return Answer{standin::IsOk(world), ""};
               })
        .result;
  });
}

int32_t WN_CALL WN_GetStatus(VARIANT* status) {
  return Simple(
      "WN_GetStatus", status, [](ScriptedAnswers* answers) { return answers->NextStatus(); },
      standin::Status);
}

int32_t WN_CALL WN_GetEmail(VARIANT* email) {
  return Simple(
      "WN_GetEmail", email, [](ScriptedAnswers* answers) { return answers->email(); },
      standin::Email);
}

int32_t WN_CALL WN_GetLibVersion(VARIANT* version) {
  return Simple(
      "WN_GetLibVersion", version, [](ScriptedAnswers* answers) { return answers->version(); },
      standin::LibVersion);
}

int32_t WN_CALL WN_GetComputerInfo(VARIANT id_comp, VARIANT* info) {
  return Guarded<int32_t>(0, [&] {
    const std::string comp = VariantText(id_comp);
    Answer answer = standin::Query(
        Call("WN_GetComputerInfo", {comp}), kNoAnswer,
        [&](ScriptedAnswers* answers) { return answers->ComputerInfo(comp); },
        [&](const World& world) { return standin::ComputerInfo(world, comp); });
    return Reply(answer, info, 0);
  });
}

int32_t WN_CALL WN_GetComputersList(VARIANT filter, VARIANT* list) {
  return Guarded<int32_t>(-1, [&] {
    const std::string kind = VariantText(filter);
    Answer answer = standin::Query(
        Call("WN_GetComputersList", {kind}), kNoCount,
        [&](ScriptedAnswers* answers) { return answers->ComputersList(kind); },
        [&](const World& world) { return standin::ComputersList(world, kind); });
    return Reply(answer, list, -1);
  });
}

int32_t WN_CALL WN_GetDevicesList(VARIANT id_comp, VARIANT* list) {
  return Guarded<int32_t>(-1, [&] {
    const std::string comp = VariantText(id_comp);
    Answer answer = standin::Query(
        Call("WN_GetDevicesList", {comp}), kNoCount,
        [&](ScriptedAnswers* answers) { return answers->DevicesList(comp); },
        [&](const World& world) { return standin::DevicesList(world, comp); });
    return Reply(answer, list, -1);
  });
}

int32_t WN_CALL WN_GetDeviceInfo(VARIANT id_comp, VARIANT id_device, VARIANT* info) {
  return Guarded<int32_t>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device);
    Answer answer = standin::Query(
        Call("WN_GetDeviceInfo", {comp, device}), kNoAnswer,
        [&](ScriptedAnswers* answers) { return answers->DeviceInfo(comp, device); },
        [&](const World& world) { return standin::DeviceInfo(world, comp, device); });
    return Reply(answer, info, 0);
  });
}

int32_t WN_CALL WN_GetInviteInfo(VARIANT id_invite, VARIANT* info) {
  return Guarded<int32_t>(0, [&] {
    const std::string invite = VariantText(id_invite);
    Answer answer = standin::Query(
        Call("WN_GetInviteInfo", {invite}), kNoAnswer,
        [&](ScriptedAnswers* answers) { return answers->InviteInfo(invite); },
        [&](const World& world) { return standin::InviteInfo(world, invite); });
    return Reply(answer, info, 0);
  });
}

int32_t WN_CALL WN_GetDefaultConnectParameters(VARIANT* params) {
  return Simple(
      "WN_GetDefaultConnectParameters", params,
      [](ScriptedAnswers* answers) { return answers->default_params(); },
      standin::DefaultConnectParameters);
}

int32_t WN_CALL WN_SetDefaultConnectParameters(VARIANT params) {
  return Guarded<int32_t>(
      0, [&] { return standin::SetDefaultConnectParameters(VariantText(params)); });
}

int32_t WN_CALL WN_GetProxySettings(VARIANT* settings, int32_t reserved) {
  return Guarded<int32_t>(0, [&] {
    Answer answer = standin::Query(
        Call("WN_GetProxySettings", {reserved}), kNoAnswer,
        [](ScriptedAnswers* answers) { return answers->proxy(); }, standin::ProxySettings);
    return Reply(answer, settings, 0);
  });
}

WN_CommandId WN_CALL WN_LoginComputerAsync(VARIANT email, VARIANT password, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string address = VariantText(email), secret = VariantText(password);
    auto check = std::make_shared<standin::PasswordCheck>(secret);
    return standin::StartRequest(
        Call("WN_LoginComputerAsync", {address, standin::PasswordPlaceholder(secret), reserved}),
        [address, check](World* world) {
          return standin::LoginComputer(world, address, check.get());
        },
        [check](const std::optional<standin::Account>& account) {
          if (account)
            check->Matches(account->password);
        });
  });
}

WN_CommandId WN_CALL WN_LogoutComputerAsync(VARIANT id_comp, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp);
    return standin::StartRequest(
        Call("WN_LogoutComputerAsync", {comp, reserved}),
        [=](World* world) { return standin::LogoutComputer(world, comp); });
  });
}

WN_CommandId WN_CALL WN_SetComputerNameAsync(VARIANT id_comp, VARIANT name, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), text = VariantText(name);
    return standin::StartRequest(
        Call("WN_SetComputerNameAsync", {comp, text, reserved}),
        [=](World* world) { return standin::NameComputer(world, comp, text); });
  });
}

WN_CommandId WN_CALL WN_SetDeviceDescriptionAsync(VARIANT id_comp, VARIANT id_device,
                                                  VARIANT description, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device),
                      text = VariantText(description);
    return standin::StartRequest(
        Call("WN_SetDeviceDescriptionAsync", {comp, device, text, reserved}),
        [=](World* world) { return standin::SetDeviceDescription(world, comp, device, text); });
  });
}

WN_CommandId WN_CALL WN_LockDeviceAsync(VARIANT id_comp, VARIANT id_device, int32_t lock,
                                        int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device);
    return standin::StartRequest(
        Call("WN_LockDeviceAsync", {comp, device, lock, reserved}),
        [=](World* world) { return standin::LockDevice(world, comp, device, lock); });
  });
}

WN_CommandId WN_CALL WN_ConnectDeviceAsync(VARIANT id_comp, VARIANT id_device, VARIANT params,
                                           int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device),
                      text = VariantText(params);
    return standin::StartRequest(
        Call("WN_ConnectDeviceAsync", {comp, device, text, reserved}),
        [=](World* world) { return standin::ConnectDevice(world, comp, device, text); });
  });
}

WN_CommandId WN_CALL WN_DisconnectDeviceAsync(VARIANT id_comp, VARIANT id_device,
                                              int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device);
    return standin::StartRequest(
        Call("WN_DisconnectDeviceAsync", {comp, device, reserved}),
        [=](World* world) { return standin::DisconnectDevice(world, comp, device); });
  });
}

WN_CommandId WN_CALL WN_ChangeExistingConnectionParametersAsync(VARIANT id_comp, VARIANT id_device,
                                                                VARIANT params, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device),
                      text = VariantText(params);
    return standin::StartRequest(
        Call("WN_ChangeExistingConnectionParametersAsync", {comp, device, text, reserved}),
        [=](World* world) {
          return standin::ChangeConnectionParameters(world, comp, device, text);
        });
  });
}

WN_CommandId WN_CALL WN_ForgetConnectionAsync(VARIANT id_comp, VARIANT id_device,
                                              int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device);
    return standin::StartRequest(
        Call("WN_ForgetConnectionAsync", {comp, device, reserved}),
        [=](World* world) { return standin::ForgetConnection(world, comp, device); });
  });
}

WN_CommandId WN_CALL WN_SetComportNameAsync(VARIANT id_comp, VARIANT id_device, VARIANT name,
                                            int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device),
                      text = VariantText(name);
    return standin::StartRequest(
        Call("WN_SetComportNameAsync", {comp, device, text, reserved}),
        [=](World* world) { return standin::SetComportName(world, comp, device, text); });
  });
}

WN_CommandId WN_CALL WN_SetProxySettingsAsync(VARIANT settings, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string text = VariantText(settings);
    return standin::StartRequest(
        Call("WN_SetProxySettingsAsync", {text, reserved}),
        [=](World* world) { return standin::SetProxySettings(world, text); });
  });
}

WN_CommandId WN_CALL WN_MakeInviteAsync(VARIANT id_comp, VARIANT id_device, VARIANT email,
                                        int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string comp = VariantText(id_comp), device = VariantText(id_device),
                      address = VariantText(email);
    return standin::StartRequest(
        Call("WN_MakeInviteAsync", {comp, device, address, reserved}),
        [=](World* world) { return standin::MakeInvite(world, comp, device, address); });
  });
}

WN_CommandId WN_CALL WN_AcceptInviteAsync(VARIANT id_invite, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string invite = VariantText(id_invite);
    return standin::StartRequest(
        Call("WN_AcceptInviteAsync", {invite, reserved}),
        [=](World* world) { return standin::AcceptInvite(world, invite); });
  });
}

WN_CommandId WN_CALL WN_DeleteInviteAsync(VARIANT id_invite, int32_t reserved) {
  return Guarded<WN_CommandId>(0, [&] {
    const std::string invite = VariantText(id_invite);
    return standin::StartRequest(
        Call("WN_DeleteInviteAsync", {invite, reserved}),
        [=](World* world) { return standin::DeleteInvite(world, invite); });
  });
}

}  // extern "C"
