// Random bytes from the system itself, which needs no set-up that memory
// pressure could leave half done.
#ifndef WIRENEST_STANDIN_SYSTEM_RANDOM_H_
#define WIRENEST_STANDIN_SYSTEM_RANDOM_H_

#include <stddef.h>

namespace standin {

// False when the system gives fewer than `size` bytes.
bool SystemRandomBytes(unsigned char* bytes, size_t size);

}  // namespace standin

#endif  // WIRENEST_STANDIN_SYSTEM_RANDOM_H_
