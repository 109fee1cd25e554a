#include "frontend/reports/connect_parameters_report.h"

#include <iostream>

#include <json/value.h>

#include "frontend/commands/compression.h"
#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "wirenestdk.h"

int ShowDefaultConnectParameters() {
  ScopedVariant result;
  if (!WN_GetDefaultConnectParameters(result.out())) {
    std::cout << "ERROR: Can't read default compression." << std::endl;
    return 1;
  }
  Json::Value document;
  // A document without members to read is as unusable as one that fails to parse.
  if (!VariantToJson(result.get(), &document) || !IsObjectOrNull(document)) {
    std::cout << "ERROR: Can't parse default compression." << std::endl;
    return 1;
  }
  std::string compression = JsonAsText(JsonMember(document, "compress"));
  if (compression.empty())
    std::cout << "compression: no default compression set." << std::endl;
  else
    std::cout << "compression: " << compression << std::endl;
  std::string reconnect = JsonAsText(JsonMember(document, "reconnect"));
  if (reconnect.empty())
    std::cout << "auto reconnect: no default reconnect option set." << std::endl;
  else
    std::cout << "auto reconnect: " << reconnect << std::endl;
  return 0;
}

int ChangeDefaultConnectParameters(const std::string& compression, int32_t reconnect) {
  ScopedVariant parameters;
  JsonToVariant(MakeConnectionParameters(compression, reconnect), parameters.out());
  if (!WN_SetDefaultConnectParameters(parameters.get())) {
    std::cout << "ERROR: can't set default connect parameters." << std::endl;
    return 1;
  }
  std::cout << "default connect parameters have been changed." << std::endl;
  return 0;
}
