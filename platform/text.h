// Conversions between the program's narrow text, UTF-8, and the UTF-16 text
// of the system's wide strings and of library values, on every system alike:
// command-line arguments become UTF-8, and library text is UTF-8 both ways,
// whatever a Windows code page holds. Invalid input is substituted with
// U+FFFD.
#ifndef WNCTL_PLATFORM_TEXT_H_
#define WNCTL_PLATFORM_TEXT_H_

#include <string>

#include "platform/variant.h"

// The UTF-8 form of a zero-terminated UTF-16 text (an unpaired surrogate
// becomes U+FFFD); empty for a null pointer or when it cannot be converted.
std::string WideToUtf8(const OLECHAR* text);

// A new BSTR holding the narrow text, up to its first zero, widened; the
// caller frees it.
BSTR NarrowToBstr(const std::string& text);
// The narrow text of a BSTR up to its first zero unit; empty for null.
std::string BstrToNarrow(BSTR text);

#endif  // WNCTL_PLATFORM_TEXT_H_
