# The library's module-definition file, written from the function list of its
# header (WN_FUNCTION_MAP in wirenestdk.h), so that the list stays in one place.

# The bytes a __stdcall function's arguments take on the stack of 32-bit x86,
# which decorate its name: a VARIANT by value 16, a pointer or an int 4. A
# wrong size names no function the library defines: the link fails.
function(wirenest_argument_bytes parameters result)
  set(bytes 0)
  string(STRIP "${parameters}" parameters)
  if(NOT parameters STREQUAL "void")
    string(REPLACE "," ";" parameters "${parameters}")
    foreach(parameter ${parameters})
      string(STRIP "${parameter}" parameter)
      string(REGEX REPLACE "[ \t]*[A-Za-z_][A-Za-z_0-9]*$" "" type "${parameter}")
      if(type STREQUAL "VARIANT")
        math(EXPR bytes "${bytes} + 16")
      elseif(type MATCHES "\\*$" OR type MATCHES "^(int32_t|WN_EventCallback)$")
        math(EXPR bytes "${bytes} + 4")
      else()
        message(FATAL_ERROR "wirenestdk.h: no stack size known for the argument \"${parameter}\"")
      endif()
    endforeach()
  endif()
  set(${result} ${bytes} PARENT_SCOPE)
endfunction()

# Writes `output` from `template`, its @WIRENEST_EXPORTS@ the functions of
# `header`, one a line; `decorated` adds each one's @bytes, as the 32-bit
# Windows linker names them.
function(wirenest_write_def_file header template output decorated)
  file(READ ${header} text)
  # The list's lines, up to the first that does not go on with a backslash.
  if(NOT text MATCHES "#define WN_FUNCTION_MAP\\(XX\\)([^\n]*\\\\\n)*[^\n]*\n")
    message(FATAL_ERROR "${header}: no WN_FUNCTION_MAP(XX)")
  endif()
  string(REGEX REPLACE "\\\\\n" " " map "${CMAKE_MATCH_0}")
  string(REGEX MATCHALL "XX\\([^,]+,[^,]+,[ \t]*\\([^)]*\\)\\)" entries "${map}")
  set(lines "")
  foreach(entry ${entries})
    string(REGEX MATCH "XX\\([^,]+,[ \t]*([A-Za-z_0-9]+)[ \t]*,[ \t]*\\(([^)]*)\\)\\)" entry
      "${entry}")
    set(name ${CMAKE_MATCH_1})
    if(decorated)
      wirenest_argument_bytes("${CMAKE_MATCH_2}" bytes)
      string(APPEND name "@${bytes}")
    endif()
    list(APPEND lines "  ${name}")
  endforeach()
  list(JOIN lines "\n" WIRENEST_EXPORTS)
  configure_file(${template} ${output} @ONLY)
  # An edit of the list configures the build again.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header})
endfunction()
