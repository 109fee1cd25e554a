// Changing the parameters of an established connection.
#ifndef WNCTL_FRONTEND_LIBRARY_CHANGE_PARAMETERS_RUNNER_H_
#define WNCTL_FRONTEND_LIBRARY_CHANGE_PARAMETERS_RUNNER_H_

#include <string>

#include <json/value.h>

// Refuses a device that is not connected; returns the exit code.
int RunChangeExistingConnectionParametersCommand(const std::string& id_device,
                                                 const Json::Value& change);

#endif  // WNCTL_FRONTEND_LIBRARY_CHANGE_PARAMETERS_RUNNER_H_
