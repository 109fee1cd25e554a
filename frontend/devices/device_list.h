// A computer's device list as the library gives it.
#ifndef WNCTL_FRONTEND_DEVICES_DEVICE_LIST_H_
#define WNCTL_FRONTEND_DEVICES_DEVICE_LIST_H_

#include <string>
#include <vector>

struct DeviceList {
  // The library's answer: the number of devices, or 0 or less for none.
  int count = 0;
  // Whether the list's text is a JSON array; `ids` then holds the real
  // device ids in list order.
  bool parsed = false;
  std::vector<std::string> ids;
};

// One call of the library; the list is parsed whatever the count.
DeviceList ReadDeviceList(const std::string& computer_id);

#endif  // WNCTL_FRONTEND_DEVICES_DEVICE_LIST_H_
