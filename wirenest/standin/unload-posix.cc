#include "wirenest/standin/library.h"

namespace {

// At unload, and at the process's exit after the caller's own globals made
// before the library's.
__attribute__((destructor)) void FreeAtUnload() { standin::Unload(); }

}  // namespace
