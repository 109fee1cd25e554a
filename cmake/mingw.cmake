# What the two MinGW-w64 toolchain files share; they set WNCTL_MINGW_TRIPLE
# and WNCTL_WINDOWS_ARCH first. The posix thread model gives std::thread and
# std::mutex; everything of the compiler's run time is linked in, so that a
# built folder needs nothing but the program and its library.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${WNCTL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WNCTL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${WNCTL_MINGW_TRIPLE}-windres)
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT -static)
endforeach()

get_filename_component(wnctl_source_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
# JsonCpp and libcrypto, cross-built by scripts/windows-deps.sh.
set(WNCTL_WINDOWS_DEPS ${wnctl_source_root}/build/deps/${WNCTL_WINDOWS_ARCH})
set(CMAKE_FIND_ROOT_PATH ${WNCTL_WINDOWS_DEPS} /usr/${WNCTL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${wnctl_source_root}/scripts/wine-run.sh ${WNCTL_WINDOWS_ARCH})
