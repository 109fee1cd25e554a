// The stand-in's environment variables, as the process has them.
#ifndef WIRENEST_STANDIN_ENVIRONMENT_H_
#define WIRENEST_STANDIN_ENVIRONMENT_H_

#include <string>

namespace standin {

// The variable's value, empty when it is not set. On Windows it is read wide
// and given as UTF-8, so that a path of any letters survives; elsewhere its
// bytes are given as they are.
std::string Environment(const char* name);

}  // namespace standin

#endif  // WIRENEST_STANDIN_ENVIRONMENT_H_
