#include "wirenest/standin/memory_reserve.h"

#include <sys/mman.h>

namespace standin {

void MemoryReserve::Take() {
  if (block_)
    return;
  void* block = mmap(nullptr, size_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  block_ = block == MAP_FAILED ? nullptr : block;
}

void MemoryReserve::Release() {
  if (!block_)
    return;
  munmap(block_, size_);
  block_ = nullptr;
}

}  // namespace standin
