#include "tests/support/loaded_library.h"

#include <dlfcn.h>

LoadedLibrary::LoadedLibrary(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) {
    const char* error = dlerror();
    error_ = error ? error : "cannot be loaded";
  }
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_)
    dlclose(handle_);
}

void* LoadedLibrary::Find(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}
