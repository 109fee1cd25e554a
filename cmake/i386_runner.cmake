# Decides how the 32-bit build's own programs are started for its tests:
# natively where the kernel can start i386 programs, otherwise under user-mode
# emulation. WNCTL_I386_EMULATOR in the environment forces the emulator (its
# value is the command, e.g. qemu-i386). The decision is written to
# i386_runner.txt in the build folder, where the test command reads it.
set(forced_emulator "$ENV{WNCTL_I386_EMULATOR}")
set(WNCTL_I386_RUNNER "")
set(missing_line "this kernel cannot start 32-bit x86 programs and qemu-i386 is missing (Debian package qemu-user)")
if(forced_emulator)
  separate_arguments(forced_words UNIX_COMMAND "${forced_emulator}")
  list(GET forced_words 0 forced_command)
  unset(forced_path CACHE)
  find_program(forced_path ${forced_command})
  if(forced_path)
    set(WNCTL_I386_RUNNER "${forced_emulator}")
  else()
    set(missing_line "WNCTL_I386_EMULATOR names ${forced_command}, which is not installed")
  endif()
else()
  try_compile(probe_built ${CMAKE_BINARY_DIR}/i386_probe
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/probe/start.c
    COPY_FILE ${CMAKE_BINARY_DIR}/i386_probe/start)
  set(probe_result "not built")
  if(probe_built)
    execute_process(COMMAND ${CMAKE_BINARY_DIR}/i386_probe/start
      RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(probe_result STREQUAL "0")
    set(WNCTL_I386_RUNNER native)
  else()
    unset(qemu_path CACHE)
    find_program(qemu_path qemu-i386)
    if(qemu_path)
      set(WNCTL_I386_RUNNER qemu-i386)
    endif()
  endif()
endif()

if(WNCTL_I386_RUNNER STREQUAL "")
  set(runner_line "unavailable: ${missing_line}")
  message(WARNING "32-bit tests ${runner_line}")
elseif(WNCTL_I386_RUNNER STREQUAL "native")
  set(runner_line "native")
else()
  # Made into a list so that an emulator given with options works too.
  separate_arguments(CMAKE_CROSSCOMPILING_EMULATOR UNIX_COMMAND "${WNCTL_I386_RUNNER}")
  set(runner_line "emulated: ${WNCTL_I386_RUNNER}")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/i386_runner.txt "${runner_line}\n")
