// A shared library loaded at run time, as a program would load it, and
// unloaded when the object goes.
#ifndef WNCTL_TESTS_SUPPORT_LOADED_LIBRARY_H_
#define WNCTL_TESTS_SUPPORT_LOADED_LIBRARY_H_

#include <string>

class LoadedLibrary {
 public:
  // `path` is UTF-8 text.
  explicit LoadedLibrary(const std::string& path);
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // Why it did not load.
  const std::string& error() const { return error_; }
  // The exported symbol `name`; null when there is none.
  void* Find(const char* name) const;
  // The function `name`, of the type of the declared one.
  template <typename Function>
  Function* Find(const char* name, Function*) const {
    return reinterpret_cast<Function*>(Find(name));
  }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

#ifdef _WIN32
// The file `name` in this program's folder, where a program finds its
// libraries first.
std::string BesideThisProgram(const std::string& name);
#endif

#endif  // WNCTL_TESTS_SUPPORT_LOADED_LIBRARY_H_
