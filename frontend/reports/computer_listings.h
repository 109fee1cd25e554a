// The listings of the account's computers and their devices: the dispatcher
// of the show commands, the local and remote reports, and the pieces that the
// invite listing builds on.
#ifndef WNCTL_FRONTEND_REPORTS_COMPUTER_LISTINGS_H_
#define WNCTL_FRONTEND_REPORTS_COMPUTER_LISTINGS_H_

#include <functional>
#include <string>

#include <json/value.h>

// `kind` is "local", "remote" or "other". Each returns the exit code.
int ShowComputers(const std::string& kind, bool devices, bool verbose, bool invites,
                  bool online, bool offline);
int ShowLocalComputer(bool devices, bool verbose, bool invites);
int ShowRemoteComputers(bool devices, bool verbose, bool invites, bool online,
                        bool offline);
int ShowRemoteComputer(const std::string& computer_id, bool devices, bool verbose,
                       bool invites);
int ShowComputerDevices(const std::string& computer_id, int expected_count, bool verbose,
                        bool local_computer, bool invites);

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

// The gate, the list of computers that `filter_word` ("remote" or "other")
// asks for, narrowed by online/offline, and `show_computer` for each id in
// list order until one fails. `empty_message` stands for an empty list.
int ListComputers(const std::string& filter_word, const char* empty_message, bool online,
                  bool offline, const std::function<int(const std::string&)>& show_computer);

// The answer about one computer of the list, with its device count.
// False after the failure line.
bool GetComputerInfo(const std::string& computer_id, Json::Value* info, int* device_count);

// Ends a computer's block: its devices when asked for (and there are any),
// then an empty line, which also follows a failed device listing.
int FinishComputerBlock(bool devices, int device_count, const std::function<int()>& list_devices);

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

#endif  // WNCTL_FRONTEND_REPORTS_COMPUTER_LISTINGS_H_
