// The plain actions: one asynchronous request each, answered "Success" or
// with the error. Each returns the exit code.
#ifndef WNCTL_FRONTEND_LIBRARY_PLAIN_RUNNERS_H_
#define WNCTL_FRONTEND_LIBRARY_PLAIN_RUNNERS_H_

#include <string>

int RunSetComputerNameCommand(const std::string& id_comp, const std::string& name);
int RunLogoutComputerCommand(const std::string& id_comp);
int RunSetDeviceDescriptionCommand(const std::string& id_device, const std::string& description);
int RunLockDeviceCommand(const std::string& id_device, bool lock);
int RunDisconnectDeviceCommand(const std::string& id_device);
int RunSetComportNameCommand(const std::string& id_device, const std::string& name);
int RunForgetConnectionCommand(const std::string& id_device);

#endif  // WNCTL_FRONTEND_LIBRARY_PLAIN_RUNNERS_H_
