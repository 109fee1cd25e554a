#include <windows.h>

#include "wirenest/standin/library.h"

// Windows ends every other thread of a process that exits before it unloads
// its libraries; a library unloaded by FreeLibrary still has its threads.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID process_ends) {
  if (reason == DLL_PROCESS_DETACH) {
    if (process_ends)
      standin::LeaveAsTheProcessEnds();
    else
      standin::Unload();
  }
  return TRUE;
}
