// What the fuzz targets read from their input: argument lists and the fake
// library's answers.
#ifndef WNCTL_FUZZ_INPUT_SCRIPT_H_
#define WNCTL_FUZZ_INPUT_SCRIPT_H_

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "cmdline/command_line_base.h"
#include "fuzz/fake_library.h"

// The arguments that the zero bytes of `text` separate; none for "".
ArgumentList SplitAtNul(const std::string& text);

// The longest text one answer takes.
const size_t kMaxAnswerText = 4096;

// An answer of any result and type; mostly texts. Once the input is used up
// every answer is a non-zero result with an empty text.
FakeAnswer DrawAnswer(FuzzedDataProvider& input);

#endif  // WNCTL_FUZZ_INPUT_SCRIPT_H_
