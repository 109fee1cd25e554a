#include "wirenest/standin/environment.h"

#include <string.h>
#include <windows.h>

#include "platform/text.h"

namespace standin {

// Not getenv, whose text is in the ANSI code page: a letter beyond it would
// become another, or "?".
std::string Environment(const char* name) {
  const std::wstring wide_name(name, name + strlen(name));
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD size =
        GetEnvironmentVariableW(wide_name.c_str(), &value[0], static_cast<DWORD>(value.size()));
    if (size == 0)
      return std::string();
    // Too small, the size needed comes back; it may grow again meanwhile.
    if (size < value.size())
      return WideToUtf8(value.c_str());
    value.assign(size, L'\0');
  }
}

}  // namespace standin
