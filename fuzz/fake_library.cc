#include "fuzz/fake_library.h"

#include <stdio.h>
#include <stdlib.h>

#include <deque>
#include <initializer_list>

#include <json/value.h>

#include "frontend/convert/json_text.h"
#include "platform/text.h"
#include "wirenestdk.h"

namespace {

const int32_t kUnused = -1;

struct FakeState {
  FakeScript script;
  std::vector<const char*> calls;
  std::deque<FakeAnswer> events;
  WN_EventCallback callback = nullptr;
  bool queue_on = false;
};

FakeState g_fake;

[[noreturn]] void BrokenContract(const char* function, const char* what) {
  fprintf(stderr, "%s: %s\n", function, what);
  abort();
}

FakeAnswer Ask(const char* function) {
  g_fake.calls.push_back(function);
  return g_fake.script ? g_fake.script(function) : FakeAnswer();
}

// A value passed in: a text, read to its end so that a freed one shows.
std::string TextIn(const char* function, const VARIANT& value) {
  if (value.vt != VT_BSTR || !value.bstrVal)
    BrokenContract(function, "a value passed in is not a text");
  return BstrToNarrow(value.bstrVal);
}

typedef std::initializer_list<const VARIANT*> Texts;

void TextsIn(const char* function, Texts texts) {
  for (const VARIANT* text : texts)
    TextIn(function, *text);
}

void JsonObjectIn(const char* function, const VARIANT& value) {
  Json::Value document;
  if (!ParseJsonText(TextIn(function, value), &document) || !document.isObject())
    BrokenContract(function, "a document passed in is not a JSON object");
}

void UnusedIn(const char* function, int32_t value) {
  if (value != kUnused)
    BrokenContract(function, "an unused int is not 0xFFFFFFFF");
}

int32_t Fill(const char* function, VARIANT* out, Texts texts = {}) {
  TextsIn(function, texts);
  if (!out || out->vt != VT_EMPTY)
    BrokenContract(function, "the out-value is not an initialised VARIANT");
  FakeAnswer answer = Ask(function);
  FillFakeValue(answer, out);
  return answer.result;
}

void DeliverAnswer(WN_CommandId id) {
  FakeAnswer answer = g_fake.script ? g_fake.script("command_result") : FakeAnswer();
  if (!g_fake.callback || !g_fake.queue_on)
    return;
  Json::Value event;
  if (!ParseJsonText(answer.text, &event) || !event.isObject())
    event = Json::Value(Json::objectValue);
  event["event"] = "command_result";
  if (answer.result != 0)
    event["id_cmd"] = id;
  Json::Value batch(Json::arrayValue);
  batch.append(event);
  FakeAnswer delivery;
  delivery.result = 1;
  delivery.text = WriteCompactJson(batch);
  g_fake.events.push_back(delivery);
  g_fake.callback();
}

WN_CommandId Request(const char* function, int32_t reserved, Texts texts) {
  TextsIn(function, texts);
  UnusedIn(function, reserved);
  WN_CommandId id = static_cast<WN_CommandId>(Ask(function).result);
  if (id != 0)
    DeliverAnswer(id);
  return id;
}

// A request that passes a document as well as its texts.
WN_CommandId DocumentRequest(const char* function, int32_t reserved, const VARIANT& document,
                             Texts texts) {
  JsonObjectIn(function, document);
  return Request(function, reserved, texts);
}

}  // namespace

void ResetFakeLibrary(const FakeScript& script) {
  g_fake = FakeState();
  g_fake.script = script;
}

void QueueFakeEvents(const FakeAnswer& batch) { g_fake.events.push_back(batch); }

const std::vector<const char*>& FakeLibraryCalls() { return g_fake.calls; }

void FillFakeValue(const FakeAnswer& answer, VARIANT* value) {
  VariantClear(value);
  value->llVal = answer.bits;
  value->vt = answer.type;
  if (answer.type == VT_BSTR)
    value->bstrVal = answer.null_text ? nullptr : NarrowToBstr(answer.text);
}

extern "C" {

int32_t WN_CALL WN_SetEventCallback(WN_EventCallback callback) {
  if (!callback)
    BrokenContract(__func__, "no callback");
  int32_t result = Ask(__func__).result;
  if (result != 0)
    g_fake.callback = callback;
  return result;
}

int32_t WN_CALL WN_EnableEventsQueue(int32_t enable) {
  if (enable != 1)
    BrokenContract(__func__, "not asked to enable");
  int32_t result = Ask(__func__).result;
  if (result != 0)
    g_fake.queue_on = true;
  return result;
}

int32_t WN_CALL WN_GetEvents(int32_t reserved, VARIANT* batch) {
  UnusedIn(__func__, reserved);
  g_fake.calls.push_back(__func__);
  if (!batch)
    BrokenContract(__func__, "no batch value");
  if (g_fake.events.empty())
    return 0;
  FakeAnswer next = g_fake.events.front();
  g_fake.events.pop_front();
  FillFakeValue(next, batch);
  return next.result;
}

int32_t WN_CALL WN_IsOK(void) { return Ask(__func__).result; }
int32_t WN_CALL WN_GetStatus(VARIANT* status) { return Fill(__func__, status); }
int32_t WN_CALL WN_GetEmail(VARIANT* email) { return Fill(__func__, email); }
int32_t WN_CALL WN_GetLibVersion(VARIANT* version) { return Fill(__func__, version); }

int32_t WN_CALL WN_GetComputerInfo(VARIANT id_comp, VARIANT* info) {
  return Fill(__func__, info, {&id_comp});
}

int32_t WN_CALL WN_GetComputersList(VARIANT filter, VARIANT* list) {
  return Fill(__func__, list, {&filter});
}

int32_t WN_CALL WN_GetDevicesList(VARIANT id_comp, VARIANT* list) {
  return Fill(__func__, list, {&id_comp});
}

int32_t WN_CALL WN_GetDeviceInfo(VARIANT id_comp, VARIANT id_device, VARIANT* info) {
  return Fill(__func__, info, {&id_comp, &id_device});
}

int32_t WN_CALL WN_GetInviteInfo(VARIANT id_invite, VARIANT* info) {
  return Fill(__func__, info, {&id_invite});
}

int32_t WN_CALL WN_GetDefaultConnectParameters(VARIANT* params) { return Fill(__func__, params); }

int32_t WN_CALL WN_SetDefaultConnectParameters(VARIANT params) {
  JsonObjectIn(__func__, params);
  return Ask(__func__).result;
}

int32_t WN_CALL WN_GetProxySettings(VARIANT* settings, int32_t reserved) {
  UnusedIn(__func__, reserved);
  return Fill(__func__, settings);
}

WN_CommandId WN_CALL WN_LoginComputerAsync(VARIANT email, VARIANT password, int32_t reserved) {
  return Request(__func__, reserved, {&email, &password});
}

WN_CommandId WN_CALL WN_LogoutComputerAsync(VARIANT id_comp, int32_t reserved) {
  return Request(__func__, reserved, {&id_comp});
}

WN_CommandId WN_CALL WN_SetComputerNameAsync(VARIANT id_comp, VARIANT name, int32_t reserved) {
  return Request(__func__, reserved, {&id_comp, &name});
}

WN_CommandId WN_CALL WN_SetDeviceDescriptionAsync(VARIANT id_comp, VARIANT id_device,
                                                  VARIANT description, int32_t reserved) {
  return Request(__func__, reserved, {&id_comp, &id_device, &description});
}

WN_CommandId WN_CALL WN_LockDeviceAsync(VARIANT id_comp, VARIANT id_device, int32_t lock,
                                        int32_t reserved) {
  if (lock != 0 && lock != 1)
    BrokenContract(__func__, "lock is neither 0 nor 1");
  return Request(__func__, reserved, {&id_comp, &id_device});
}

WN_CommandId WN_CALL WN_ConnectDeviceAsync(VARIANT id_comp, VARIANT id_device, VARIANT params,
                                           int32_t reserved) {
  return DocumentRequest(__func__, reserved, params, {&id_comp, &id_device});
}

WN_CommandId WN_CALL WN_DisconnectDeviceAsync(VARIANT id_comp, VARIANT id_device,
                                              int32_t reserved) {
  return Request(__func__, reserved, {&id_comp, &id_device});
}

WN_CommandId WN_CALL WN_ChangeExistingConnectionParametersAsync(VARIANT id_comp, VARIANT id_device,
                                                                VARIANT params, int32_t reserved) {
  return DocumentRequest(__func__, reserved, params, {&id_comp, &id_device});
}

WN_CommandId WN_CALL WN_ForgetConnectionAsync(VARIANT id_comp, VARIANT id_device,
                                              int32_t reserved) {
  return Request(__func__, reserved, {&id_comp, &id_device});
}

WN_CommandId WN_CALL WN_SetComportNameAsync(VARIANT id_comp, VARIANT id_device, VARIANT name,
                                            int32_t reserved) {
  return Request(__func__, reserved, {&id_comp, &id_device, &name});
}

WN_CommandId WN_CALL WN_SetProxySettingsAsync(VARIANT settings, int32_t reserved) {
  return DocumentRequest(__func__, reserved, settings, {});
}

WN_CommandId WN_CALL WN_MakeInviteAsync(VARIANT id_comp, VARIANT id_device, VARIANT email,
                                        int32_t reserved) {
  return Request(__func__, reserved, {&id_comp, &id_device, &email});
}

WN_CommandId WN_CALL WN_AcceptInviteAsync(VARIANT id_invite, int32_t reserved) {
  return Request(__func__, reserved, {&id_invite});
}

WN_CommandId WN_CALL WN_DeleteInviteAsync(VARIANT id_invite, int32_t reserved) {
  return Request(__func__, reserved, {&id_invite});
}

}  // extern "C"
