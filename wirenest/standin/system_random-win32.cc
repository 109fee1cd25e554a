#include "wirenest/standin/system_random.h"

#include <windows.h>

#include <ntsecapi.h>

namespace standin {

bool SystemRandomBytes(unsigned char* bytes, size_t size) {
  return size <= 0xFFFFFFFFu && RtlGenRandom(bytes, static_cast<ULONG>(size));
}

}  // namespace standin
