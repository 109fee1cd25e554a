// The few OLE Automation types and functions the library uses, where the
// system has none (platform/variant.h); variant-posix.cc implements them.
#ifndef WNCTL_PLATFORM_VARIANT_POSIX_H_
#define WNCTL_PLATFORM_VARIANT_POSIX_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint16_t VARTYPE;
typedef uint16_t OLECHAR;  // one UTF-16 code unit
typedef OLECHAR* BSTR;     // preceded by its byte length, ended by a zero unit
typedef int32_t HRESULT;

enum VarEnum {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_BOOL = 11,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
};

#define S_OK ((HRESULT)0)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define VARIANT_TRUE ((int16_t)-1)
#define VARIANT_FALSE ((int16_t)0)

typedef struct VARIANT {
  VARTYPE vt;
  uint16_t wReserved1;
  uint16_t wReserved2;
  uint16_t wReserved3;
  union {
    int64_t llVal;
    uint64_t ullVal;
    int32_t lVal;
    uint32_t ulVal;
    int32_t intVal;
    uint32_t uintVal;
    int16_t iVal;
    uint16_t uiVal;
    int8_t cVal;
    uint8_t bVal;
    int16_t boolVal;
    double dblVal;
    BSTR bstrVal;
  };
} VARIANT;

// Allocates a BSTR holding a copy of the zero-terminated text.
BSTR SysAllocString(const OLECHAR* text);
// Allocates a BSTR of `length` units copied from `text` (or zeroed when null).
BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length);
void SysFreeString(BSTR text);
// The number of UTF-16 units, from the length prefix; 0 for a null BSTR.
uint32_t SysStringLen(BSTR text);

void VariantInit(VARIANT* value);
HRESULT VariantClear(VARIANT* value);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* source);
// Only VT_BSTR is supported as the target type.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, uint16_t flags, VARTYPE type);

#ifdef __cplusplus
}
#endif

#endif  // WNCTL_PLATFORM_VARIANT_POSIX_H_
