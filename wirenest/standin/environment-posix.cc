#include "wirenest/standin/environment.h"

#include <stdlib.h>

namespace standin {

std::string Environment(const char* name) {
  const char* value = getenv(name);
  return value ? value : "";
}

}  // namespace standin
