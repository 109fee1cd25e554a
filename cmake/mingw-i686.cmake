# Cross-builds the 32-bit Windows program (wnctl32.exe, wirenestdk32.dll).
set(WNCTL_MINGW_TRIPLE i686-w64-mingw32)
set(WNCTL_WINDOWS_ARCH win32)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
