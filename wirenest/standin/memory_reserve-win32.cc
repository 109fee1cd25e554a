#include "wirenest/standin/memory_reserve.h"

#include <windows.h>

namespace standin {

void MemoryReserve::Take() {
  if (!block_)
    block_ = VirtualAlloc(nullptr, size_, MEM_RESERVE, PAGE_NOACCESS);
}

void MemoryReserve::Release() {
  if (!block_)
    return;
  VirtualFree(block_, 0, MEM_RELEASE);
  block_ = nullptr;
}

}  // namespace standin
