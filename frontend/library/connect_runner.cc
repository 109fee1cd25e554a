#include "frontend/library/connect_runner.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/command_runner.h"
#include "frontend/library/connection_parameters_document.h"
#include "frontend/library/library_document.h"
#include "frontend/library/status_document.h"
#include "platform/console_output.h"

bool IsDeviceConnected(const std::string& id_comp, const std::string& device_id) {
  ScopedVariant comp(id_comp);
  ScopedVariant device(device_id);
  // A null document has no "status" either.
  Json::Value document;
  DocumentGetter getter = [&](VARIANT* info) {
    return WN_GetDeviceInfo(comp.get(), device.get(), info);
  };
  if (ReadLibraryDocument(getter, &document) != DocumentReading::Read)
    return false;
  const Json::Value& status = JsonMember(document, "status");
  return status.isString() && status.asString() == "shared" && document.isMember("connect_info");
}

int SendDeviceParameters(DeviceParametersRequest request, const std::string& id_comp,
                         const std::string& device_id, const Json::Value& parameters,
                         uint32_t timeout_ms, std::string* error) {
  ScopedVariant comp(id_comp);
  ScopedVariant device(device_id);
  ScopedVariant document;
  JsonToVariant(parameters, document.out());
  return SendAndCheckAnswer(
      [&] { return request(comp.get(), device.get(), document.get(), kUnusedRequestInt); },
      timeout_ms, kPlainRunnerMessages, error);
}

int RunConnectDeviceCommand(const std::string& id_device, const std::string& compression,
                            int32_t reconnect) {
  std::string id_comp;
  std::string device_id;
  if (!PassGateAndResolveDevice(id_device, &id_comp, &device_id) || !PrepareEventChannel())
    return 1;
  if (IsDeviceConnected(id_comp, device_id)) {
    PrintLine("ERROR: device is already connected.");
    return 1;
  }
  std::string error;
  int result = SendDeviceParameters(WN_ConnectDeviceAsync, id_comp, device_id,
                                    MakeConnectionParametersDocument(compression, reconnect),
                                    kConnectWaitMs, &error);
  if (result != 0 && error == "no_driver") {
    // Only when this computer's drivers are fine can the remote one be blamed.
    if (CheckDrivers())
      PrintLine("Remote computer does not have virtual USB/COM drivers installed.");
    else
      PrintLine("Local computer does not have virtual USB/COM drivers installed.");
  }
  return result;
}
