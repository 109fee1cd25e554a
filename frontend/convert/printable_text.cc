#include "frontend/convert/printable_text.h"

namespace {

const char kHexDigits[] = "0123456789abcdef";

void AppendHex(unsigned char byte, std::string* text) {
  text->push_back(kHexDigits[byte >> 4]);
  text->push_back(kHexDigits[byte & 0x0F]);
}

// Bytes that may start an escape: the controls, and the lead byte of
// U+0080-U+009F.
bool MayNeedEscape(unsigned char byte) { return byte < 0x20 || byte == 0x7F || byte == 0xC2; }

}  // namespace

std::string PrintableText(const std::string& text) {
  std::string shown;
  AppendPrintableText(text, &shown);
  return shown;
}

void AppendPrintableText(const std::string& text, std::string* shown) {
  shown->reserve(shown->size() + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // Most texts have nothing to escape: the bytes up to the next that may
    // need it go in at once.
    size_t plain = i;
    while (plain < text.size() && !MayNeedEscape(static_cast<unsigned char>(text[plain])))
      ++plain;
    shown->append(text, i, plain - i);
    i = plain;
    if (i == text.size())
      break;
    unsigned char byte = static_cast<unsigned char>(text[i]);
    unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte == '\n') {
      *shown += "\\n";
    } else if (byte == '\t') {
      *shown += "\\t";
    } else if (byte == '\r') {
      *shown += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
      *shown += "\\x";
      AppendHex(byte, shown);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      // 0xC2 only ever leads a sequence, so this pair is always U+0080-U+009F.
      *shown += "\\u00";
      AppendHex(next, shown);
      ++i;
    } else {
      shown->push_back(text[i]);
    }
  }
}
