// A word typed on the console (or given on standard input).
#ifndef WNCTL_PLATFORM_CONSOLE_INPUT_H_
#define WNCTL_PLATFORM_CONSOLE_INPUT_H_

#include <string>

// One word from standard input, as `std::cin >> word` takes it: white space
// before it is skipped, and it ends at white space or the end of the input;
// empty when there is none. A read broken off by a signal handler goes on.
std::string ReadInputWord();

#endif  // WNCTL_PLATFORM_CONSOLE_INPUT_H_
