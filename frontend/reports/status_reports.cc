#include "frontend/reports/status_reports.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/convert/printable_text.h"
#include "frontend/library/service_state.h"
#include "frontend/library/status_document.h"
#include "platform/console_output.h"
#include "wirenestdk.h"

namespace {

void PrintPipeLine(const std::string& pipe) {
  PrintLine("Unknown pipe to service status: " + PrintableText(pipe));
}

void PrintServerLines(const std::string& server) {
  if (server == "disconnected") {
    PrintLine("Can't connect to central server. Check your internet connection.");
  } else if (server == "login_required") {
    PrintLine("Login required in order to connect local computer to central server.");
  } else if (server == "server_upgrade_required") {
    PrintLine("Software is outdated.");
    PrintLine(
        "Please, upgrade your installed Wirenest software to latest version "
        "in order to work with current version of Wirenest server.");
  } else if (server == "connected") {
    PrintLine("Computer is logged in to central server.");
  } else {
    PrintLine("Unknown status of central server: " + PrintableText(server));
  }
}

}  // namespace

int ShowStatus() {
  if (WN_IsOK()) {
    PrintLine("Computer logged in, all drivers are OK");
    return 0;
  }
  GetServiceState(kStatusSettleBudgetMs);
  Json::Value document;
  if (!ReadStatusOrPrintError(&document))
    return 1;
  std::string pipe = JsonMemberText(document, "pipe");
  if (pipe == "busy") {
    PrintLine("Service pipe is busy: taken by some other client.");
    return 0;
  }
  if (pipe == "disconnected") {
    PrintLine("Service is not responding or disabled.");
    return 0;
  }
  if (pipe != "connected")
    PrintPipeLine(pipe);
  PrintServerLines(JsonMemberText(document, "server"));
  if (JsonMemberText(document, "usb_driver") != "OK")
    PrintLine("USB driver installation problem. Re-install the software.");
  if (JsonMemberText(document, "serial_driver") != "OK")
    PrintLine("Serial ports driver installation problem. Re-install the software.");
  return 0;
}

int ShowWhoAmI() {
  if (!PassLoggedInGate())
    return 1;
  ScopedVariant email;
  std::string text;
  if (!WN_GetEmail(email.out()) || !VariantToText(email.get(), &text)) {
    PrintLine("ERROR: Unable to get email from library");
    return 1;
  }
  PrintLine(PrintableText(text));
  return 0;
}

int ShowVersion() {
  ScopedVariant version;
  std::string text;
  if (!WN_GetLibVersion(version.out()) || !VariantToText(version.get(), &text)) {
    PrintLine("ERROR: Unable to get version from library");
    return 1;
  }
  PrintLine(PrintableText(text));
  return 0;
}
