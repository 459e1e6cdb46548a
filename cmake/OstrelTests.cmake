# How ctest reports the GoogleTest programs: a program whose tests passed but skipped a test or a
# row of one ends with OSTREL_SKIPPED_STATUS (tests/support/TestRun.h), which ctest reports as
# skipped; any other status but 0 fails, whatever the output says.
include(GoogleTest)
set(OSTREL_SKIPPED_STATUS 77)

# Each test of a program as a ctest test; further arguments are properties. gtest_discover_tests
# also calls a test skipped whenever its output shows "[  SKIPPED ]", failed or not, and ctest adds
# to that expression rather than replacing it: a step after the discovery takes it out of the
# file the discovery writes, so that the status alone says.
function(ostrel_discover_tests target)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES SKIP_RETURN_CODE ${OSTREL_SKIPPED_STATUS} ${ARGN})
  get_property(counter TARGET ${target} PROPERTY CTEST_DISCOVERED_TEST_COUNTER)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D "TESTS_FILE=${CMAKE_CURRENT_BINARY_DIR}/${target}[${counter}]_tests.cmake"
            -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/DropOutputSkip.cmake
    VERBATIM)
endfunction()

# Tests that run a whole program (or a part of it through --gtest_filter) are skipped only by
# its status.
function(ostrel_skipped_by_status)
  set_tests_properties(${ARGN} PROPERTIES SKIP_RETURN_CODE ${OSTREL_SKIPPED_STATUS})
endfunction()
