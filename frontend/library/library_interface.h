// The device-sharing library's interface as the front end calls it.
#ifndef WNCTL_FRONTEND_LIBRARY_LIBRARY_INTERFACE_H_
#define WNCTL_FRONTEND_LIBRARY_LIBRARY_INTERFACE_H_

#include <stdint.h>

#include "wirenestdk.h"

// The int the library's functions take where nothing else is asked for.
const int32_t kUnusedRequestInt = static_cast<int32_t>(0xFFFFFFFFu);

#endif  // WNCTL_FRONTEND_LIBRARY_LIBRARY_INTERFACE_H_
