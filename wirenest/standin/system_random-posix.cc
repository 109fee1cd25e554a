#include "wirenest/standin/system_random.h"

#include <sys/random.h>
#include <sys/types.h>

namespace standin {

bool SystemRandomBytes(unsigned char* bytes, size_t size) {
  return getrandom(bytes, size, 0) == static_cast<ssize_t>(size);
}

}  // namespace standin
