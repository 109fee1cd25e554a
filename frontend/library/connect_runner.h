// Connecting a remote device, and what the connection runners share.
#ifndef WNCTL_FRONTEND_LIBRARY_CONNECT_RUNNER_H_
#define WNCTL_FRONTEND_LIBRARY_CONNECT_RUNNER_H_

#include <stdint.h>

#include <string>

#include <json/value.h>

#include "frontend/library/library_interface.h"

// `compression` empty, "bestspeed", "bestsize" or "no"; `reconnect` -1, 0
// or 1. Refuses a device that is connected; returns the exit code.
int RunConnectDeviceCommand(const std::string& id_device, const std::string& compression,
                            int32_t reconnect);

// True when the device's info says "status" "shared" and has a
// "connect_info" member. Silent.
bool IsDeviceConnected(const std::string& id_comp, const std::string& device_id);

// A request that takes a device and a parameters document.
typedef WN_CommandId(WN_CALL* DeviceParametersRequest)(VARIANT id_comp, VARIANT id_device,
                                                       VARIANT params, int32_t reserved);

// Sends such a request and checks its answer; `error` as SendAndCheckAnswer gives it.
int SendDeviceParameters(DeviceParametersRequest request, const std::string& id_comp,
                         const std::string& device_id, const Json::Value& parameters,
                         uint32_t timeout_ms, std::string* error = nullptr);

#endif  // WNCTL_FRONTEND_LIBRARY_CONNECT_RUNNER_H_
