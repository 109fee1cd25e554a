#include "wirenest/standin/variant_text.h"

#include "platform/text.h"

namespace standin {

std::string VariantText(const VARIANT& value) {
  if (value.vt == VT_BSTR)
    return BstrToNarrow(value.bstrVal);
  ScopedVariant text;
  if (VariantChangeType(text.get(), &value, 0, VT_BSTR) != S_OK)
    return std::string();
  return BstrToNarrow(text.get()->bstrVal);
}

bool SetVariantText(VARIANT* out, const std::string& text) {
  VariantClear(out);
  BSTR converted = NarrowToBstr(text);
  if (!converted)
    return false;
  out->vt = VT_BSTR;
  out->bstrVal = converted;
  return true;
}

}  // namespace standin
