// An in-process device-sharing library for the fuzz targets: the 29 WN_
// functions answer from a script, record their calls, and abort on a call
// that breaks the library's contract.
#ifndef WNCTL_FUZZ_FAKE_LIBRARY_H_
#define WNCTL_FUZZ_FAKE_LIBRARY_H_

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/variant.h"

// One answer: the function's int result (a command id for a request) and
// the out-value it fills, of any type.
struct FakeAnswer {
  int32_t result = 0;
  VARTYPE type = VT_BSTR;
  bool null_text = false;  // a VT_BSTR whose pointer is null
  std::string text;        // a VT_BSTR's text
  int64_t bits = 0;        // the union of the other types
};

// Asked once per answering call with the function's name. A request that
// returns a command id other than 0 is answered at once, from inside the
// request, through the registered callback when the queue is on: its
// "command_result" event is the object that the "command_result" answer's
// text holds (another text gives an empty one), with "id_cmd" set to the
// id unless that answer's result is 0.
typedef std::function<FakeAnswer(const char* function)> FakeScript;

// Forgets the calls, the queued batches, the callback and the queue switch.
void ResetFakeLibrary(const FakeScript& script);

// Batches that WN_GetEvents hands out, in order, before it says none.
void QueueFakeEvents(const FakeAnswer& batch);

// The library functions called since the reset, in order.
const std::vector<const char*>& FakeLibraryCalls();

// Sets an initialised value as the fake fills its out-values.
void FillFakeValue(const FakeAnswer& answer, VARIANT* value);

#endif  // WNCTL_FUZZ_FAKE_LIBRARY_H_
