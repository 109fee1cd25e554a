#include "frontend/reports/connect_parameters_report.h"

#include <json/value.h>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/convert/printable_text.h"
#include "frontend/library/connection_parameters_document.h"
#include "platform/console_output.h"
#include "wirenestdk.h"

int ShowDefaultConnectParameters() {
  ScopedVariant result;
  if (!WN_GetDefaultConnectParameters(result.out())) {
    PrintLine("ERROR: Can't read default compression.");
    return 1;
  }
  Json::Value document;
  // A document without members to read is as unusable as one that fails to parse.
  if (!VariantToJson(result.get(), &document) || !IsObjectOrNull(document)) {
    PrintLine("ERROR: Can't parse default compression.");
    return 1;
  }
  std::string compression = JsonAsText(JsonMember(document, "compress"));
  if (compression.empty())
    PrintLine("compression: no default compression set.");
  else
    PrintLine("compression: " + PrintableText(compression));
  std::string reconnect = JsonAsText(JsonMember(document, "reconnect"));
  if (reconnect.empty())
    PrintLine("auto reconnect: no default reconnect option set.");
  else
    PrintLine("auto reconnect: " + PrintableText(reconnect));
  return 0;
}

int ChangeDefaultConnectParameters(const std::string& compression, int32_t reconnect) {
  ScopedVariant parameters;
  JsonToVariant(MakeConnectionParametersDocument(compression, reconnect), parameters.out());
  if (!WN_SetDefaultConnectParameters(parameters.get())) {
    PrintLine("ERROR: can't set default connect parameters.");
    return 1;
  }
  PrintLine("default connect parameters have been changed.");
  return 0;
}
