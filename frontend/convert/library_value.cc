#include "frontend/convert/library_value.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/json_text.h"
#include "platform/text.h"

ScopedVariant::ScopedVariant(const std::string& text) {
  VariantInit(&value_);
  SetTextVariant(text, &value_);
}

void SetTextVariant(const std::string& text, VARIANT* value) {
  VariantClear(value);
  value->vt = VT_BSTR;
  value->bstrVal = NarrowToBstr(text);
}

bool VariantToText(const VARIANT& value, std::string* text) {
  ScopedVariant converted;
  if (VariantChangeType(converted.out(), &value, 0, VT_BSTR) != S_OK)
    return false;
  *text = BstrToNarrow(converted.get().bstrVal);
  return true;
}

bool VariantToJson(const VARIANT& value, Json::Value* root) {
  std::string text;
  return VariantToText(value, &text) && ParseJsonText(text, root);
}

std::string VariantToString(const VARIANT& value) {
  std::string text;
  VariantToText(value, &text);
  return text;
}

bool VariantToStringList(const VARIANT& value, std::vector<std::string>* list) {
  std::string text;
  return VariantToText(value, &text) && ParseJsonStringList(text, list);
}

void JsonToVariant(const Json::Value& document, VARIANT* value) {
  SetTextVariant(WriteCompactJson(document), value);
}
