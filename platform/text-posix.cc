#include "platform/text.h"

#include <stddef.h>

namespace {

const char32_t kReplacement = 0xFFFD;

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

void AppendUtf16(char32_t code, std::u16string* out) {
  if (code < 0x10000) {
    out->push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 | (code >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
  }
}

// Decodes one well-formed UTF-8 sequence at `text[*pos]`; an ill-formed one
// (overlong, surrogate, beyond U+10FFFF, truncated) yields U+FFFD and
// consumes its first byte only.
char32_t DecodeUtf8(const std::string& text, size_t* pos) {
  unsigned char lead = static_cast<unsigned char>(text[*pos]);
  size_t extra;
  char32_t code;
  char32_t minimum;
  if (lead < 0x80) {
    ++*pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    code = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    code = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    code = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++*pos;
    return kReplacement;
  }
  if (*pos + extra >= text.size()) {
    ++*pos;
    return kReplacement;
  }
  for (size_t i = 1; i <= extra; ++i) {
    unsigned char next = static_cast<unsigned char>(text[*pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++*pos;
      return kReplacement;
    }
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++*pos;
    return kReplacement;
  }
  *pos += extra + 1;
  return code;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size())
    AppendUtf16(DecodeUtf8(text, &pos), &out);
  return out;
}

std::string Utf16ToUtf8(const OLECHAR* text, size_t length) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      unit = kReplacement;
    }
    AppendUtf8(unit, &out);
  }
  return out;
}

}  // namespace

std::string WideToUtf8(const OLECHAR* text) {
  if (!text)
    return std::string();
  size_t length = 0;
  while (text[length])
    ++length;
  return Utf16ToUtf8(text, length);
}

BSTR NarrowToBstr(const std::string& text) {
  // Like a C string, the text ends at its first zero byte.
  std::u16string wide = Utf8ToUtf16(std::string(text.c_str()));
  static_assert(sizeof(char16_t) == sizeof(OLECHAR), "UTF-16 units");
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                           static_cast<uint32_t>(wide.size()));
}

std::string BstrToNarrow(BSTR text) { return WideToUtf8(text); }
