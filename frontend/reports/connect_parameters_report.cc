#include "frontend/reports/connect_parameters_report.h"

#include <json/value.h>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/convert/printable_text.h"
#include "frontend/library/connection_parameters_document.h"
#include "frontend/library/library_document.h"
#include "platform/console_output.h"
#include "wirenestdk.h"

int ShowDefaultConnectParameters() {
  Json::Value document;
  if (!ReadLibraryDocumentOrPrint(WN_GetDefaultConnectParameters,
                                  "ERROR: Can't read default compression.",
                                  "ERROR: Can't parse default compression.", &document))
    return 1;
  std::string compression = JsonMemberText(document, "compress");
  if (compression.empty())
    PrintLine("compression: no default compression set.");
  else
    PrintLine("compression: " + PrintableText(compression));
  std::string reconnect = JsonMemberText(document, "reconnect");
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
