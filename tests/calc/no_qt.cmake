# The calculation library builds and runs without any window: none of its files may include
# a Qt header. Run as: cmake -DDIR=<calc folder> -P no_qt.cmake
file(GLOB sources "${DIR}/*.h" "${DIR}/*.cpp" "${DIR}/*.txt")
list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "no sources found in ${DIR}")
endif()
foreach(source IN LISTS sources)
    file(STRINGS "${source}" hits REGEX "#[ \t]*include[ \t]*[<\"]Q|Qt6|find_package\\(Qt")
    if(hits)
        message(FATAL_ERROR "${source} reaches Qt: ${hits}")
    endif()
endforeach()
message(STATUS "${count} files, none reaching Qt")
