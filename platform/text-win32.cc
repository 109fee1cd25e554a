#include "platform/text.h"

#include <wchar.h>

namespace {

// `length` units of `text`, or with -1 the text and its terminating zero.
// The first call asks for the size only; a refused conversion gives empty
// text, never an error.
std::string Narrowed(UINT code_page, const wchar_t* text, int length) {
  int size = WideCharToMultiByte(code_page, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0)
    return std::string();
  std::string narrow(static_cast<size_t>(size), '\0');
  int written = WideCharToMultiByte(code_page, 0, text, length, &narrow[0], size, nullptr, nullptr);
  narrow.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return narrow;
}

}  // namespace

std::string WideToUtf8(const OLECHAR* text) {
  if (!text || !*text)
    return std::string();
  // The length is given, so no terminating zero is converted.
  return Narrowed(CP_UTF8, text, static_cast<int>(wcslen(text)));
}

// UTF-8 both ways, as on POSIX: the ANSI code page would garble what the
// arguments hold beyond it, and lose what the library hands out beyond it.
BSTR NarrowToBstr(const std::string& text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(size > 0 ? static_cast<size_t>(size) : 1, L'\0');
  if (size > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], size);
  return SysAllocString(wide.c_str());
}

std::string BstrToNarrow(BSTR text) {
  if (!text)
    return std::string();
  std::string narrow = Narrowed(CP_UTF8, text, -1);
  return std::string(narrow.c_str());
}
