#include "frontend/library/status_document.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "wirenestdk.h"

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
