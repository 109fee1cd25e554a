#include "fuzz/input_script.h"

namespace {

// The out-value types other than a text; the last is none the platform knows.
const VARTYPE kOtherTypes[] = {VT_EMPTY, VT_NULL, VT_I4, VT_R8, VT_BOOL, VT_I8, VT_UI1, 0x4008};
const uint8_t kFirstOtherType = 0xF0;

}  // namespace

ArgumentList SplitAtNul(const std::string& text) {
  ArgumentList arguments;
  if (text.empty())
    return arguments;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type nul = text.find('\0', start);
    arguments.push_back(text.substr(start, nul - start));
    if (nul == std::string::npos)
      return arguments;
    start = nul + 1;
  }
}

FakeAnswer DrawAnswer(FuzzedDataProvider& input) {
  FakeAnswer answer;
  answer.result = input.ConsumeIntegral<int8_t>();
  uint8_t kind = input.ConsumeIntegral<uint8_t>();
  if (kind >= kFirstOtherType) {
    answer.type = kOtherTypes[(kind - kFirstOtherType) % 8];
    answer.bits = input.ConsumeIntegral<int64_t>();
  } else if (kind == kFirstOtherType - 1) {
    answer.null_text = true;
  } else {
    answer.text = input.ConsumeRandomLengthString(kMaxAnswerText);
  }
  return answer;
}
