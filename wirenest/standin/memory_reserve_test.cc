#include "wirenest/standin/memory_reserve.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/child_process.h"

namespace standin {
namespace {

const size_t kMiB = 1 << 20;

// The process's address space in bytes, read without allocating.
size_t AddressSpace() {
  char text[64] = {};
  int file = open("/proc/self/statm", O_RDONLY);
  if (file < 0)
    return 0;
  ssize_t size = read(file, text, sizeof text - 1);
  close(file);
  return size > 0 ? strtoul(text, nullptr, 10) * static_cast<size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

// Address space alone, as the reserve takes it: memory to write would be
// charged against what the whole machine may commit as well, which other
// processes use up on a busy machine.
bool CanMap(size_t size) {
  void* block = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (block == MAP_FAILED)
    return false;
  munmap(block, size);
  return true;
}

// In the child: its result, saying on standard error where it stood if the
// step failed.
int ChildResult(int step, rlim_t limit) {
  if (step != 0)
    fprintf(stderr, "step %d: address space %zu of the limit %zu\n", step, AddressSpace(),
            static_cast<size_t>(limit));
  return step;
}

// What the reserve holds is what the rest of the process lacks under a
// limit of its address space, and has again once it is released. In a child,
// which alone gets the limit.
TEST(MemoryReserveTest, HoldsAddressSpaceUntilReleased) {
  const int step = RunInChild([] {
    const rlim_t room = AddressSpace() + 3 * kMiB / 2;
    const rlimit limit = {room, room};
    MemoryReserve reserve(kMiB);
    if (setrlimit(RLIMIT_AS, &limit) != 0 || !CanMap(kMiB))
      return ChildResult(1, room);
    reserve.Take();
    if (!reserve.held())
      return ChildResult(2, room);
    if (CanMap(kMiB))
      return ChildResult(3, room);
    reserve.Release();
    return ChildResult(!reserve.held() && CanMap(kMiB) ? 0 : 4, room);
  });
  EXPECT_EQ(0, step)
      << "1: no room to start with, 2: not taken, 3: taken but not held, 4: not released";
}

}  // namespace
}  // namespace standin
