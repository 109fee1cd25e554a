// The least a listing can cost: the library calls that `show-local` or
// `show-remote` makes, in the same order, with every result changed into
// text, but no aliases, no reading of the device answers and no output.
//
//   listing_floor local | remote
//
// Exit code 0 when every call answered, 1 otherwise.
#include <string>
#include <vector>

#include <json/value.h>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "wirenestdk.h"

namespace {

bool TakeText(const VARIANT& value) {
  std::string text;
  return VariantToText(value, &text);
}

bool ListDevices(const std::string& computer_id) {
  ScopedVariant computer_value(computer_id);
  ScopedVariant list_value;
  std::vector<std::string> ids;
  if (WN_GetDevicesList(computer_value.get(), list_value.out()) < 0 ||
      !VariantToStringList(list_value.get(), &ids))
    return false;
  for (const std::string& id : ids) {
    ScopedVariant device_value(id);
    ScopedVariant info_value;
    if (!WN_GetDeviceInfo(computer_value.get(), device_value.get(), info_value.out()) ||
        !TakeText(info_value.get()))
      return false;
  }
  return true;
}

int ListLocal() {
  ScopedVariant id_value("local");
  ScopedVariant info_value;
  Json::Value info;
  if (!WN_GetComputerInfo(id_value.get(), info_value.out()) ||
      !VariantToJson(info_value.get(), &info))
    return 1;
  return ListDevices(JsonMemberText(info, "id_comp")) ? 0 : 1;
}

int ListRemote() {
  ScopedVariant filter_value("remote");
  ScopedVariant list_value;
  std::vector<std::string> ids;
  if (WN_GetComputersList(filter_value.get(), list_value.out()) < 0 ||
      !VariantToStringList(list_value.get(), &ids))
    return 1;
  for (const std::string& id : ids) {
    ScopedVariant id_value(id);
    ScopedVariant info_value;
    if (!WN_GetComputerInfo(id_value.get(), info_value.out()) || !TakeText(info_value.get()) ||
        !ListDevices(id))
      return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc == 2 ? argv[1] : "";
  // The gate as the listings pass it when the account is logged in.
  if (kind.empty() || !WN_IsOK())
    return 1;
  if (kind == "local")
    return ListLocal();
  if (kind == "remote")
    return ListRemote();
  return 1;
}
