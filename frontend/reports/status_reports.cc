#include "frontend/reports/status_reports.h"

#include <iostream>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/library/service_state.h"
#include "wirenestdk.h"

namespace {

void PrintPipeLine(const std::string& pipe) {
  std::cout << "Unknown pipe to service status: " << pipe << std::endl;
}

void PrintServerLines(const std::string& server) {
  if (server == "disconnected") {
    std::cout << "Can't connect to central server. Check your internet connection."
              << std::endl;
  } else if (server == "login_required") {
    std::cout << "Login required in order to connect local computer to central server."
              << std::endl;
  } else if (server == "server_upgrade_required") {
    std::cout << "Software is outdated." << std::endl;
    std::cout << "Please, upgrade your installed Wirenest software to latest version "
                 "in order to work with current version of Wirenest server."
              << std::endl;
  } else if (server == "connected") {
    std::cout << "Computer is logged in to central server." << std::endl;
  } else {
    std::cout << "Unknown status of central server: " << server << std::endl;
  }
}

}  // namespace

int ShowStatus() {
  if (WN_IsOK()) {
    std::cout << "Computer logged in, all drivers are OK" << std::endl;
    return 0;
  }
  GetServiceState(kStatusSettleBudgetMs);
  ScopedVariant status;
  if (!WN_GetStatus(status.out())) {
    std::cout << "ERROR: Unable to read status from library" << std::endl;
    return 1;
  }
  Json::Value document;
  // A document that is neither an object nor null has no members to report.
  if (!VariantToJson(status.get(), &document) || !IsObjectOrNull(document)) {
    std::cout << "ERROR: Unable to parse status json" << std::endl;
    return 1;
  }
  std::string pipe = JsonAsText(JsonMember(document, "pipe"));
  if (pipe == "busy") {
    std::cout << "Service pipe is busy: taken by some other client." << std::endl;
    return 0;
  }
  if (pipe == "disconnected") {
    std::cout << "Service is not responding or disabled." << std::endl;
    return 0;
  }
  if (pipe != "connected")
    PrintPipeLine(pipe);
  PrintServerLines(JsonAsText(JsonMember(document, "server")));
  if (JsonAsText(JsonMember(document, "usb_driver")) != "OK")
    std::cout << "USB driver installation problem. Re-install the software." << std::endl;
  if (JsonAsText(JsonMember(document, "serial_driver")) != "OK")
    std::cout << "Serial ports driver installation problem. Re-install the software."
              << std::endl;
  return 0;
}

bool CheckDrivers() {
  if (WN_IsOK())
    return true;
  ScopedVariant status;
  if (!WN_GetStatus(status.out()))
    return false;
  Json::Value document;
  if (!VariantToJson(status.get(), &document) || !IsObjectOrNull(document))
    return false;
  return JsonAsText(JsonMember(document, "usb_driver")) == "OK" &&
         JsonAsText(JsonMember(document, "serial_driver")) == "OK";
}

int ShowWhoAmI() {
  ServiceState state = GetServiceState(kGateBudgetMs);
  if (state != ServiceState::LoggedIn) {
    PrintServiceStateError(state);
    return 1;
  }
  ScopedVariant email;
  std::string text;
  if (!WN_GetEmail(email.out()) || !VariantToText(email.get(), &text)) {
    std::cout << "ERROR: Unable to get email from library" << std::endl;
    return 1;
  }
  std::cout << text << std::endl;
  return 0;
}

int ShowVersion() {
  ScopedVariant version;
  std::string text;
  if (!WN_GetLibVersion(version.out()) || !VariantToText(version.get(), &text)) {
    std::cout << "ERROR: Unable to get version from library" << std::endl;
    return 1;
  }
  std::cout << text << std::endl;
  return 0;
}
