#ifndef WIRENEST_STANDIN_ANSWER_H_
#define WIRENEST_STANDIN_ANSWER_H_

#include <stdint.h>

#include <string>

namespace standin {

// What a query returns: the function's int and the text of its out-value.
struct Answer {
  int32_t result = 0;
  std::string text;
};

inline bool operator==(const Answer& a, const Answer& b) {
  return a.result == b.result && a.text == b.text;
}

}  // namespace standin

#endif  // WIRENEST_STANDIN_ANSWER_H_
