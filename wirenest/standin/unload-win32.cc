#include <windows.h>

#include "wirenest/standin/library.h"

// The library's threads cannot end while the system holds its loader lock,
// as it does around DllMain, so a FreeLibrary could not wait for them, and
// unloaded code would run after it. The library stays, pinned, until the
// process ends; Windows has ended every other thread by then.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HMODULE self;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&DllMain), &self);
  } else if (reason == DLL_PROCESS_DETACH) {
    standin::LeaveAsTheProcessEnds();
  }
  return TRUE;
}
