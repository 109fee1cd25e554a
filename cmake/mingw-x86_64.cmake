# Cross-builds the 64-bit Windows program (wnctl64.exe, wirenestdk64.dll).
set(WNCTL_MINGW_TRIPLE x86_64-w64-mingw32)
set(WNCTL_WINDOWS_ARCH win64)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
