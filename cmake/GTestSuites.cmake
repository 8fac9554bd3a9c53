# A ctest test for each GoogleTest suite of an executable, found after each build as
# gtest_discover_tests finds cases. A case a process costs the executable's start each time:
# under the sanitizers that is a tenth of a second, and plan_tests alone has 2,250 cases, so
# that starting them took longer than running them. A suite a process runs the same cases,
# and a failure names its case in GoogleTest's own report.
#
#   hengchi_gtest_suites(TARGET [PREFIX text] [TIMEOUT seconds])
set(HENGCHI_GTEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/GTestSuitesList.cmake)

function(hengchi_gtest_suites target)
    cmake_parse_arguments(arg "" "PREFIX;TIMEOUT" "" ${ARGN})
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 600)
    endif()
    set(list ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -D EXECUTABLE=$<TARGET_FILE:${target}> -D OUTPUT=${list}
                -D PREFIX=${arg_PREFIX} -D TIMEOUT=${arg_TIMEOUT}
                -D WORKING_DIRECTORY=${CMAKE_CURRENT_BINARY_DIR}
                -P ${HENGCHI_GTEST_SUITES_SCRIPT}
        BYPRODUCTS ${list}
        VERBATIM)
    # ctest reads the list when it exists; before the first build it reports the target unbuilt.
    set(include ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
    file(WRITE ${include}
        "if(EXISTS \"${list}\")\n"
        "    include(\"${list}\")\n"
        "else()\n"
        "    add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include})
endfunction()
