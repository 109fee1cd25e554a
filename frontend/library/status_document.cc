#include "frontend/library/status_document.h"

#include "frontend/convert/json_reading.h"
#include "wirenestdk.h"

DocumentReading ReadStatusDocument(Json::Value* document) {
  return ReadLibraryDocument(WN_GetStatus, document);
}

bool ReadStatusOrPrintError(Json::Value* document) {
  return ReadLibraryDocumentOrPrint(WN_GetStatus, "ERROR: Unable to read status from library",
                                    "ERROR: Unable to parse status json", document);
}

bool CheckDrivers() {
  if (WN_IsOK())
    return true;
  Json::Value document;
  return ReadStatusDocument(&document) == DocumentReading::Read &&
         JsonMemberText(document, "usb_driver") == "OK" &&
         JsonMemberText(document, "serial_driver") == "OK";
}
