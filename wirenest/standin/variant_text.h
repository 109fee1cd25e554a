// Texts in and out of the library's VARIANTs.
#ifndef WIRENEST_STANDIN_VARIANT_TEXT_H_
#define WIRENEST_STANDIN_VARIANT_TEXT_H_

#include <string>

#include "platform/variant.h"

namespace standin {

// A VARIANT of one's own, cleared when it goes.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  ~ScopedVariant() { VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// A BSTR's UTF-8 text; a number as its decimal text; empty for anything else.
std::string VariantText(const VARIANT& value);
// Clears *out and fills it with a BSTR of the text; false when out of memory.
bool SetVariantText(VARIANT* out, const std::string& text);

}  // namespace standin

#endif  // WIRENEST_STANDIN_VARIANT_TEXT_H_
