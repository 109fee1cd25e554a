#include "frontend/reports/computer_blocks.h"

#include <vector>

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "frontend/convert/printable_text.h"
#include "frontend/library/library_document.h"
#include "frontend/library/service_state.h"
#include "frontend/reports/device_rows.h"
#include "platform/console_output.h"
#include "wirenestdk.h"

int ListComputers(const std::string& filter_word, const char* empty_message, bool online,
                  bool offline, const std::function<int(const std::string&)>& show_computer) {
  if (!PassLoggedInGate())
    return 1;
  std::string filter = filter_word;
  const char* suffix = "";
  if (online && !offline) {
    filter = "online-" + filter_word;
    suffix = " which are online";
  } else if (offline && !online) {
    filter = "offline-" + filter_word;
    suffix = " which are offline";
  }
  ScopedVariant filter_value(filter);
  ScopedVariant list_value;
  int count = WN_GetComputersList(filter_value.get(), list_value.out());
  if (count < 0) {
    PrintLine("ERROR: can't get list of remote computers");
    return 1;
  }
  if (count == 0) {
    PrintLine(std::string(empty_message) + suffix);
    return 0;
  }
  std::vector<std::string> ids;
  if (!VariantToStringList(list_value.get(), &ids)) {
    PrintLine("ERROR: can't parse list of remote computers");
    return 1;
  }
  if (ids.size() != static_cast<size_t>(count)) {
    PrintLine("ERROR: number of remote computers mismatch");
    return 1;
  }
  for (const std::string& id : ids) {
    int result = show_computer(id);
    if (result != 0)
      return result;
  }
  return 0;
}

bool GetComputerInfo(const std::string& computer_id, Json::Value* info, int* device_count) {
  ScopedVariant id_value(computer_id);
  std::string shown_id = PrintableText(computer_id);
  if (!ReadLibraryDocumentOrPrint(
          [&](VARIANT* answer) { return WN_GetComputerInfo(id_value.get(), answer); },
          "ERROR: can't get info about remote computer " + shown_id,
          "ERROR: can't parse info about remote computer " + shown_id, info))
    return false;
  if (!JsonMemberInt(*info, "devices", device_count)) {
    PrintWrongData();
    return false;
  }
  return true;
}

int FinishComputerBlock(bool devices, int device_count, const std::function<int()>& list_devices) {
  if (!devices)
    return 0;
  int result = device_count != 0 ? list_devices() : 0;
  PrintLine("");
  return result;
}
