#include "frontend/library/change_parameters_runner.h"

#include "frontend/library/command_runner.h"
#include "frontend/library/connect_runner.h"
#include "platform/console_output.h"

int RunChangeExistingConnectionParametersCommand(const std::string& id_device,
                                                 const Json::Value& change) {
  std::string id_comp;
  std::string device_id;
  if (!PassGateAndResolveDevice(id_device, &id_comp, &device_id))
    return 1;
  if (!IsDeviceConnected(id_comp, device_id)) {
    PrintLine("ERROR: device is not connected.");
    return 1;
  }
  if (!PrepareEventChannel())
    return 1;
  return SendDeviceParameters(WN_ChangeExistingConnectionParametersAsync, id_comp, device_id,
                              change, kCommandWaitMs);
}
