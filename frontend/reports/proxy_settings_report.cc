#include "frontend/reports/proxy_settings_report.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/json_text.h"
#include "frontend/library/library_document.h"
#include "frontend/library/library_interface.h"
#include "platform/console_output.h"

namespace {

const char kMaskedPassword[] = "*****";

// False when the document (an object or null) is not of the settings' form;
// the password, if any, is then left where it is and nothing may be printed.
bool MaskProxyPassword(Json::Value* document) {
  const Json::Value& auth = JsonMember(*document, "proxy_auth");
  if (!IsObjectOrNull(auth))
    return false;
  if (auth.isObject() && auth.isMember("proxy_passwd"))
    (*document)["proxy_auth"]["proxy_passwd"] = kMaskedPassword;
  return true;
}

}  // namespace

int ShowProxySettings() {
  const char kUnparsable[] = "ERROR: Unable to parse json with proxy settings";
  Json::Value document;
  if (!ReadLibraryDocumentOrPrint(
          [](VARIANT* settings) { return WN_GetProxySettings(settings, kUnusedRequestInt); },
          "Can't read proxy settings from library", kUnparsable, &document))
    return 1;
  if (!MaskProxyPassword(&document)) {
    PrintLine(kUnparsable);
    return 1;
  }
  // The JSON writer escapes control characters itself.
  PrintText(WriteStyledJson(document));
  return 0;
}
