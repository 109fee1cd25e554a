#include "frontend/library/proxy_runner.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/command_runner.h"
#include "frontend/library/library_interface.h"
#include "frontend/library/service_state.h"
#include "frontend/library/status_document.h"
#include "platform/console_output.h"

Json::Value MakeProxySettingsDocument(const ProxySettings& settings) {
  Json::Value document(Json::objectValue);
  Json::Value& proxy = document["proxy_settings"];
  proxy["enabled"] = settings.enabled;
  proxy["proxy_type"] = settings.type;
  proxy["proxy_host"] = settings.host;
  proxy["proxy_port"] = settings.port;
  Json::Value& auth = document["proxy_auth"];
  auth["enabled"] = settings.auth;
  auth["proxy_user"] = settings.user;
  auth["proxy_passwd"] = settings.passwd;
  return document;
}

bool IsServicePipeConnected() {
  // Only lets the library settle; the state itself is read below.
  GetServiceState(kPipeSettleBudgetMs);
  Json::Value document;
  if (!ReadStatusOrPrintError(&document))
    return false;
  return JsonMemberText(document, "pipe") == "connected";
}

int RunSetProxySettingsCommand(const Json::Value& settings) {
  if (!IsServicePipeConnected()) {
    PrintLine("ERROR: no connection to local service. Check output of `status` command.");
    return 1;
  }
  ScopedVariant settings_value;
  JsonToVariant(settings, settings_value.out());
  if (!PrepareEventChannel())
    return 1;
  return SendAndCheckAnswer(
      [&] { return WN_SetProxySettingsAsync(settings_value.get(), kUnusedRequestInt); },
      kCommandWaitMs, kPlainRunnerMessages);
}
