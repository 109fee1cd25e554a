#include "frontend/reports/proxy_settings_report.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/json_text.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/library_interface.h"
#include "platform/console_output.h"

namespace {

const char kMaskedPassword[] = "*****";

// False when the document is not of the settings' form; the password, if
// any, is then left where it is and nothing may be printed.
bool MaskProxyPassword(Json::Value* document) {
  if (!IsObjectOrNull(*document))
    return false;
  const Json::Value& auth = JsonMember(*document, "proxy_auth");
  if (!IsObjectOrNull(auth))
    return false;
  if (auth.isObject() && auth.isMember("proxy_passwd"))
    (*document)["proxy_auth"]["proxy_passwd"] = kMaskedPassword;
  return true;
}

}  // namespace

int ShowProxySettings() {
  ScopedVariant settings;
  if (!WN_GetProxySettings(settings.out(), kUnusedRequestInt)) {
    PrintLine("Can't read proxy settings from library");
    return 1;
  }
  Json::Value document;
  if (!VariantToJson(settings.get(), &document) || !MaskProxyPassword(&document)) {
    PrintLine("ERROR: Unable to parse json with proxy settings");
    return 1;
  }
  // The JSON writer escapes control characters itself.
  PrintText(WriteStyledJson(document));
  return 0;
}
