// The OLE Automation values the device-sharing library speaks: the system's
// own on Windows (oleaut32); elsewhere the few types it uses, laid out so
// that C code on both sides of the library boundary agrees. OLECHAR is one
// UTF-16 code unit on both: wchar_t on Windows, uint16_t elsewhere.
#ifndef WNCTL_PLATFORM_VARIANT_H_
#define WNCTL_PLATFORM_VARIANT_H_

#ifdef _WIN32
#include "platform/variant-win32.h"
#else
#include "platform/variant-posix.h"
#endif

#endif  // WNCTL_PLATFORM_VARIANT_H_
