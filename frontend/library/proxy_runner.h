// Replacing the proxy settings that the library keeps: the settings
// document, the gate that asks only for the link to the local service, and
// the request.
#ifndef WNCTL_FRONTEND_LIBRARY_PROXY_RUNNER_H_
#define WNCTL_FRONTEND_LIBRARY_PROXY_RUNNER_H_

#include <json/value.h>

#include <string>

// The whole settings; every call replaces all of them.
struct ProxySettings {
  bool enabled = false;
  std::string type;
  std::string host;
  std::string port;
  bool auth = false;
  std::string user;
  std::string passwd;
};

// All seven inner members always present; the port as a JSON string.
Json::Value MakeProxySettingsDocument(const ProxySettings& settings);

// True when the library's link to the local service is connected; prints
// an error line when the status cannot be read or parsed.
bool IsServicePipeConnected();

// Sends the document and reports the outcome; returns the exit code.
int RunSetProxySettingsCommand(const Json::Value& settings);

#endif  // WNCTL_FRONTEND_LIBRARY_PROXY_RUNNER_H_
