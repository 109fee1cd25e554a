#include "frontend/devices/device_list.h"

#include "frontend/convert/library_value.h"
#include "wirenestdk.h"

DeviceList ReadDeviceList(const std::string& computer_id) {
  ScopedVariant computer_value(computer_id);
  ScopedVariant list_value;
  DeviceList list;
  list.count = WN_GetDevicesList(computer_value.get(), list_value.out());
  list.parsed = VariantToStringList(list_value.get(), &list.ids);
  return list;
}
