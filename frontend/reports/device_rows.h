// The device rows of the listings, which show-local, show-remote and
// show-invite share: a computer's device list, what each device line shows,
// and the line itself.
#ifndef WNCTL_FRONTEND_REPORTS_DEVICE_ROWS_H_
#define WNCTL_FRONTEND_REPORTS_DEVICE_ROWS_H_

#include <functional>
#include <string>

#include <json/value.h>

// How a connected device is connected; all empty when the library says nothing.
struct ConnectionDetails {
  std::string connection_id;
  std::string client_id;
  std::string kind;
  std::string compression;
};

// What a device line shows, derived from one device answer.
struct DeviceState {
  std::string name;
  std::string description;
  bool locked = false;
  bool connected = false;
  bool offline = false;
  ConnectionDetails connection;
};

// The compression as the listings show it.
std::string ShownCompression(const std::string& compress);

// False when "connect_info" holds something other than an object.
bool ReadConnectionDetails(const Json::Value& connect_info, ConnectionDetails* details);

// "locked" is read only on the local computer. False when a member cannot be
// read (the answer must be an object or null).
bool ReadDeviceState(const Json::Value& device, bool local_computer, DeviceState* state);

// The start of a device line: its ID_DEVICE and its name.
std::string DeviceLineStart(const std::string& computer_id, const std::string& alias,
                            const DeviceState& state);
// The device line, from `line` (its start) on, and, when verbose, its
// detail lines.
void PrintDeviceDetails(std::string line, const DeviceState& state, const std::string& real_id,
                        bool verbose, bool local_computer);

// Checks the device list of a computer against `expected_count`, prints the
// devices heading and hands each device answer (an object or null), in list
// order, with its real id and alias to `show_device` until one fails.
typedef std::function<int(const std::string& real_id, const std::string& alias,
                          const Json::Value& device)>
    DevicePrinter;
int ListComputerDevices(const std::string& computer_id, int expected_count,
                        const DevicePrinter& show_device);

// The line for an answer that is there but whose members cannot be read.
int PrintWrongData();

#endif  // WNCTL_FRONTEND_REPORTS_DEVICE_ROWS_H_
