// Conversions between narrow text (UTF-8 on POSIX, in both directions) and
// the UTF-16 text of library values. Invalid input is substituted with
// U+FFFD, never cut short.
#ifndef WNCTL_PLATFORM_TEXT_H_
#define WNCTL_PLATFORM_TEXT_H_

#include <stddef.h>

#include <string>

#include "platform/variant.h"

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const OLECHAR* text, size_t length);

// The UTF-8 form of a zero-terminated UTF-16 text; empty for a null pointer.
std::string WideToUtf8(const OLECHAR* text);

// A new BSTR holding the narrow text widened; the caller frees it.
BSTR NarrowToBstr(const std::string& text);
// The narrow text of a BSTR up to its first zero unit; empty for null.
std::string BstrToNarrow(BSTR text);

#endif  // WNCTL_PLATFORM_TEXT_H_
