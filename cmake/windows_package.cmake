# `cpack -G ZIP` in a Windows build makes wnctl-VERSION-win64.zip (or -win32):
# the program and its library in bin/, beside a short text for Windows users.
configure_file(${CMAKE_SOURCE_DIR}/packaging/README-windows.txt ${CMAKE_BINARY_DIR}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME wnctl)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME wnctl-${PROJECT_VERSION}-win${WNCTL_BITS})
# The build keeps debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)
include(CPack)

add_test(NAME package_test COMMAND sh ${CMAKE_SOURCE_DIR}/tests/package_test.sh
  ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} win${WNCTL_BITS} ${WNCTL_PROGRAM_FILE_NAME})
set_tests_properties(package_test PROPERTIES SKIP_RETURN_CODE 77)
