// The least any run of the program costs: the libraries that wnctl64 loads
// (the device-sharing library, JsonCpp, libcrypto, the C++ runtime) loaded
// the same way, one line printed, and none of them asked to do anything.
//
//   startup_floor
#include <stdio.h>

#include "wirenestdk.h"

int main() {
  // Taken, never called: a Windows program loads only the libraries it
  // refers to.
  int32_t(WN_CALL* volatile version)(VARIANT*) = WN_GetLibVersion;
  (void)version;
  puts("startup floor");
  return 0;
}
