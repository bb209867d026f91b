# Lists a release test program's tests under one scenario and writes them as ctest tests, each
# run with the scenario's environment. The listing runs under that environment too, because
# which tests a program holds depends on the release it is laid out for (RELEASE_TEST in
# tests/support/release_test.h). Run after every link of the program:
#   cmake -DPROGRAM=<file> -DSCENARIO=<file setting PREFIX, ENVIRONMENT, WORKING_DIR, OUT>
#         -P scenario_tests.cmake
cmake_minimum_required(VERSION 3.25)
include(${SCENARIO})

execute_process(COMMAND ${CMAKE_COMMAND} -E env ${ENVIRONMENT} ${PROGRAM} --gtest_list_tests
  WORKING_DIRECTORY ${WORKING_DIR} TIMEOUT 60
  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests under ${ENVIRONMENT}: ${result}\n"
    "${listing}${errors}")
endif()

# The listing: "Suite." lines, each followed by its "  Name" lines.
set(script "")
set(count 0)
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\.$")
    set(suite ${CMAKE_MATCH_1})
  elseif(line MATCHES "^  ([A-Za-z_][A-Za-z0-9_]*)$" AND DEFINED suite)
    set(test "${suite}.${CMAKE_MATCH_1}")
    string(APPEND script
      "add_test([=[${PREFIX}${test}]=] [=[${PROGRAM}]=] [=[--gtest_filter=${test}]=])\n"
      "set_tests_properties([=[${PREFIX}${test}]=] PROPERTIES"
      " ENVIRONMENT [=[${ENVIRONMENT}]=] WORKING_DIRECTORY [=[${WORKING_DIR}]=]"
      " SKIP_REGULAR_EXPRESSION [=[\\[  SKIPPED \\]]=])\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} lists no test under ${ENVIRONMENT}")
endif()
file(WRITE ${OUT} "${script}")
