# Tests against the private CUPS scheduler share one, started and stopped by ctest itself: the
# fixture quorvel_spooler (tests/platform/cups) runs scripts/test-spooler in this folder.
set(QUORVEL_SPOOLER_DIR ${CMAKE_BINARY_DIR}/test-spooler)

# Makes every test discovered from `target` need the running scheduler, one test at a time.
# The properties go on in a ctest include file read after the discovered tests are defined.
function(quorvel_require_spooler target)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_spooler.cmake)
  file(WRITE ${file}
    "if(${target}_TESTS)\n"
    "  set_tests_properties(\${${target}_TESTS} PROPERTIES FIXTURES_REQUIRED quorvel_spooler\n"
    "    RESOURCE_LOCK quorvel_spooler TIMEOUT 600)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
  target_compile_definitions(${target} PRIVATE QUORVEL_SPOOLER_DIR="${QUORVEL_SPOOLER_DIR}")
endfunction()
