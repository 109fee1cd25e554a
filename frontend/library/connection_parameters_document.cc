#include "frontend/library/connection_parameters_document.h"

Json::Value MakeConnectionParametersDocument(const std::string& compression, int32_t reconnect) {
  Json::Value parameters(Json::objectValue);
  if (!compression.empty())
    parameters["compress"] = compression;
  if (reconnect != kReconnectUnset)
    parameters["reconnect"] = reconnect == kReconnectOn ? "true" : "false";
  return parameters;
}
