// A word typed on the console (or given on standard input).
#ifndef WNCTL_PLATFORM_CONSOLE_INPUT_H_
#define WNCTL_PLATFORM_CONSOLE_INPUT_H_

#include <functional>
#include <string>

// One word from standard input, as `std::cin >> word` takes it: white space
// before it is skipped, and it ends at white space or the end of the input;
// empty when there is none. The one white-space byte after it is used up,
// the rest is left to whoever reads standard input next.
std::string ReadInputWord();

// The system's part: hands the bytes of standard input to `take`, in order,
// until it returns false or the input ends (on Windows also at a Ctrl+Z, as
// in the C run-time's text mode). Nothing past the last byte handed over is
// used up. A read broken off by a signal handler or a Ctrl+C goes on.
void ReadInputBytes(const std::function<bool(char)>& take);

#endif  // WNCTL_PLATFORM_CONSOLE_INPUT_H_
