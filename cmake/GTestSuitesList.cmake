# Run after a test executable is built (see GTestSuites.cmake): lists its suites and writes a
# ctest test for each, named PREFIX + the suite; a comment above each says how many cases it runs.
#   cmake -D EXECUTABLE=… -D OUTPUT=… -D PREFIX=… -D TIMEOUT=… -D WORKING_DIRECTORY=… -P this
cmake_policy(VERSION 3.25)
execute_process(COMMAND ${EXECUTABLE} --gtest_list_tests
    WORKING_DIRECTORY ${WORKING_DIRECTORY}
    OUTPUT_VARIABLE listed
    ERROR_VARIABLE errors
    RESULT_VARIABLE status
    TIMEOUT 60)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${EXECUTABLE} --gtest_list_tests failed (${status}):\n${listed}\n${errors}")
endif()

string(REPLACE ";" "\\;" listed "${listed}")
string(REPLACE "\n" ";" lines "${listed}")
set(suites)
set(suite)
foreach(line IN LISTS lines)
    if(line MATCHES "^([^ #][^ ]*)\\.")
        set(suite ${CMAKE_MATCH_1})
        if(suite MATCHES "^DISABLED_|/DISABLED_")
            set(suite)
        endif()
    elseif(suite AND line MATCHES "^  ([^ ]+)")
        if(NOT CMAKE_MATCH_1 MATCHES "^DISABLED_")
            if(NOT suite IN_LIST suites)
                list(APPEND suites ${suite})
                set(cases_${suite} 0)
            endif()
            math(EXPR cases_${suite} "${cases_${suite}} + 1")
        endif()
    endif()
endforeach()

set(text "")
set(all 0)
foreach(suite IN LISTS suites)
    set(name "${PREFIX}${suite}")
    string(APPEND text
        "# ${cases_${suite}} cases\n"
        "add_test([==[${name}]==] [==[${EXECUTABLE}]==] [==[--gtest_filter=${suite}.*]==])\n"
        "set_tests_properties([==[${name}]==] PROPERTIES WORKING_DIRECTORY [==[${WORKING_DIRECTORY}]==]"
        " TIMEOUT ${TIMEOUT})\n")
    math(EXPR all "${all} + ${cases_${suite}}")
endforeach()
list(LENGTH suites count)
string(PREPEND text "# ${EXECUTABLE}: ${all} cases in ${count} suites\n")
file(WRITE ${OUTPUT} "${text}")
