#include "platform/variant.h"

#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "platform/text.h"

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length) {
  if (length > (UINT32_MAX - sizeof(uint32_t) - sizeof(OLECHAR)) / sizeof(OLECHAR))
    return nullptr;
  size_t bytes = static_cast<size_t>(length) * sizeof(OLECHAR);
  unsigned char* block =
      static_cast<unsigned char*>(malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
  if (!block)
    return nullptr;
  uint32_t prefix = static_cast<uint32_t>(bytes);
  memcpy(block, &prefix, sizeof prefix);
  BSTR result = reinterpret_cast<BSTR>(block + sizeof(uint32_t));
  if (text)
    memcpy(result, text, bytes);
  else
    memset(result, 0, bytes);
  result[length] = 0;
  return result;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (!text)
    return nullptr;
  uint32_t length = 0;
  while (text[length])
    ++length;
  return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
  if (text)
    free(reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t));
}

uint32_t SysStringLen(BSTR text) {
  if (!text)
    return 0;
  uint32_t prefix;
  memcpy(&prefix, reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t), sizeof prefix);
  return prefix / sizeof(OLECHAR);
}

void VariantInit(VARIANT* value) {
  memset(value, 0, sizeof *value);
  value->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* value) {
  if (!value)
    return E_INVALIDARG;
  if (value->vt == VT_BSTR)
    SysFreeString(value->bstrVal);
  VariantInit(value);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* source) {
  if (!dest || !source)
    return E_INVALIDARG;
  VARIANT copy = *source;
  if (source->vt == VT_BSTR && source->bstrVal) {
    copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
    if (!copy.bstrVal)
      return E_OUTOFMEMORY;
  }
  VariantClear(dest);
  *dest = copy;
  return S_OK;
}

}  // extern "C"

namespace {

bool NumberText(const VARIANT& value, std::string* text) {
  char buffer[64];
  switch (value.vt) {
    case VT_EMPTY:
      buffer[0] = 0;
      break;
    case VT_I1:
      snprintf(buffer, sizeof buffer, "%d", value.cVal);
      break;
    case VT_UI1:
      snprintf(buffer, sizeof buffer, "%u", value.bVal);
      break;
    case VT_I2:
      snprintf(buffer, sizeof buffer, "%d", value.iVal);
      break;
    case VT_UI2:
      snprintf(buffer, sizeof buffer, "%u", value.uiVal);
      break;
    case VT_I4:
    case VT_INT:
      snprintf(buffer, sizeof buffer, "%" PRId32, value.lVal);
      break;
    case VT_UI4:
    case VT_UINT:
      snprintf(buffer, sizeof buffer, "%" PRIu32, value.ulVal);
      break;
    case VT_I8:
      snprintf(buffer, sizeof buffer, "%" PRId64, value.llVal);
      break;
    case VT_UI8:
      snprintf(buffer, sizeof buffer, "%" PRIu64, value.ullVal);
      break;
    case VT_R8:
      snprintf(buffer, sizeof buffer, "%.15g", value.dblVal);
      break;
    case VT_BOOL:
      snprintf(buffer, sizeof buffer, "%s", value.boolVal ? "True" : "False");
      break;
    default:
      return false;
  }
  *text = buffer;
  return true;
}

}  // namespace

extern "C" HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, uint16_t /*flags*/,
                                     VARTYPE type) {
  if (!dest || !source)
    return E_INVALIDARG;
  if (type != VT_BSTR)
    return DISP_E_BADVARTYPE;
  if (source->vt == VT_BSTR) {
    if (dest == source)
      return S_OK;
    return VariantCopy(dest, source);
  }
  std::string text;
  if (!NumberText(*source, &text))
    return source->vt == VT_NULL ? DISP_E_TYPEMISMATCH : DISP_E_BADVARTYPE;
  BSTR converted = NarrowToBstr(text);
  if (!converted)
    return E_OUTOFMEMORY;
  VariantClear(dest);
  dest->vt = VT_BSTR;
  dest->bstrVal = converted;
  return S_OK;
}
