// The system's own OLE Automation values (platform/variant.h).
#ifndef WNCTL_PLATFORM_VARIANT_WIN32_H_
#define WNCTL_PLATFORM_VARIANT_WIN32_H_

#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max stay usable where this is included
#endif
#include <windows.h>
// Included after <windows.h>, on which it builds.
#include <oleauto.h>

#if defined(__cplusplus) && defined(__MINGW32__)
// MinGW's header takes the source as changeable; the system leaves it as it is.
inline HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, USHORT flags, VARTYPE type) {
  return VariantChangeType(dest, const_cast<VARIANT*>(source), flags, type);
}
#endif

#endif  // WNCTL_PLATFORM_VARIANT_WIN32_H_
