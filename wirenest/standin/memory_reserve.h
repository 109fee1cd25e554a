// Address space kept back while the library's work runs and given up before
// its answer is handed out: when the work has run out of memory, the
// caller's handling of the answer, on the library's thread, still finds
// room. Only address space is held, no memory.
#ifndef WIRENEST_STANDIN_MEMORY_RESERVE_H_
#define WIRENEST_STANDIN_MEMORY_RESERVE_H_

#include <stddef.h>

namespace standin {

class MemoryReserve {
 public:
  explicit MemoryReserve(size_t size) : size_(size) {}
  ~MemoryReserve() { Release(); }
  MemoryReserve(const MemoryReserve&) = delete;
  MemoryReserve& operator=(const MemoryReserve&) = delete;

  // Holds the space unless it is held already or cannot be had.
  void Take();
  void Release();
  bool held() const { return block_ != nullptr; }

 private:
  size_t size_;
  void* block_ = nullptr;
};

}  // namespace standin

#endif  // WIRENEST_STANDIN_MEMORY_RESERVE_H_
