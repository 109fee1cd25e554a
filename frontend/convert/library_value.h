// Library values: the VARIANTs that carry text and JSON to and from the
// device-sharing library.
#ifndef WNCTL_FRONTEND_CONVERT_LIBRARY_VALUE_H_
#define WNCTL_FRONTEND_CONVERT_LIBRARY_VALUE_H_

#include <string>
#include <vector>

#include <json/value.h>

#include "platform/variant.h"

// Owns one VARIANT: initialised on construction, cleared on destruction.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  explicit ScopedVariant(const std::string& text);  // a library text value
  ~ScopedVariant() { VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;

  // Passed by value to the library, which neither keeps nor frees it.
  const VARIANT& get() const { return value_; }
  // Handed to the library to fill.
  VARIANT* out() { return &value_; }

 private:
  VARIANT value_;
};

// Sets `value` (cleared first) to a BSTR holding the text.
void SetTextVariant(const std::string& text, VARIANT* value);

// The value as narrow text, up to its first zero; false when the value
// cannot be changed into text.
bool VariantToText(const VARIANT& value, std::string* text);

// The value's text parsed as JSON; false when it cannot be had or parsed.
bool VariantToJson(const VARIANT& value, Json::Value* root);

// The value as narrow text, unparsed; empty when it cannot be had.
std::string VariantToString(const VARIANT& value);

// The value's text as a JSON array of texts; false (and `list` untouched)
// when it is not an array.
bool VariantToStringList(const VARIANT& value, std::vector<std::string>* list);

// Sets `value` (cleared first) to the document's compact JSON text.
void JsonToVariant(const Json::Value& document, VARIANT* value);

#endif  // WNCTL_FRONTEND_CONVERT_LIBRARY_VALUE_H_
