#include "frontend/library/plain_runners.h"

#include <functional>

#include "frontend/convert/library_value.h"
#include "frontend/library/command_runner.h"
#include "frontend/library/library_interface.h"
#include "frontend/library/service_state.h"

namespace {

typedef std::function<WN_CommandId(const VARIANT& id_comp)> ComputerRequest;
typedef std::function<WN_CommandId(const VARIANT& id_comp, const VARIANT& device)> DeviceRequest;

// The logged-in gate, the event channel, then the request on the computer
// named as typed, its wait and its answer checked.
int RunComputerRequest(const std::string& id_comp, const ComputerRequest& request) {
  if (!PassLoggedInGate() || !PrepareEventChannel())
    return 1;
  ScopedVariant comp_value(id_comp);
  return SendAndCheckAnswer([&] { return request(comp_value.get()); }, kCommandWaitMs,
                            kPlainRunnerMessages);
}

// The logged-in gate and the device that ID_DEVICE names, the event channel,
// then the request on that device, its wait and its answer checked.
int RunDeviceRequest(const std::string& id_device, const DeviceRequest& request) {
  std::string id_comp, device_id;
  if (!PassGateAndResolveDevice(id_device, &id_comp, &device_id) || !PrepareEventChannel())
    return 1;
  ScopedVariant comp_value(id_comp);
  ScopedVariant device_value(device_id);
  return SendAndCheckAnswer([&] { return request(comp_value.get(), device_value.get()); },
                            kCommandWaitMs, kPlainRunnerMessages);
}

}  // namespace

int RunSetComputerNameCommand(const std::string& id_comp, const std::string& name) {
  ScopedVariant name_value(name);
  return RunComputerRequest(id_comp, [&](const VARIANT& comp) {
    return WN_SetComputerNameAsync(comp, name_value.get(), kUnusedRequestInt);
  });
}

int RunLogoutComputerCommand(const std::string& id_comp) {
  return RunComputerRequest(
      id_comp, [](const VARIANT& comp) { return WN_LogoutComputerAsync(comp, kUnusedRequestInt); });
}

int RunSetDeviceDescriptionCommand(const std::string& id_device, const std::string& description) {
  ScopedVariant description_value(description);
  return RunDeviceRequest(id_device, [&](const VARIANT& comp, const VARIANT& device) {
    return WN_SetDeviceDescriptionAsync(comp, device, description_value.get(), kUnusedRequestInt);
  });
}

int RunLockDeviceCommand(const std::string& id_device, bool lock) {
  return RunDeviceRequest(id_device, [lock](const VARIANT& comp, const VARIANT& device) {
    return WN_LockDeviceAsync(comp, device, lock ? 1 : 0, kUnusedRequestInt);
  });
}

int RunDisconnectDeviceCommand(const std::string& id_device) {
  return RunDeviceRequest(id_device, [](const VARIANT& comp, const VARIANT& device) {
    return WN_DisconnectDeviceAsync(comp, device, kUnusedRequestInt);
  });
}

int RunSetComportNameCommand(const std::string& id_device, const std::string& name) {
  ScopedVariant name_value(name);
  return RunDeviceRequest(id_device, [&](const VARIANT& comp, const VARIANT& device) {
    return WN_SetComportNameAsync(comp, device, name_value.get(), kUnusedRequestInt);
  });
}

int RunForgetConnectionCommand(const std::string& id_device) {
  return RunDeviceRequest(id_device, [](const VARIANT& comp, const VARIANT& device) {
    return WN_ForgetConnectionAsync(comp, device, kUnusedRequestInt);
  });
}
