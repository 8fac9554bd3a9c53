# The file formats are shared by the command, which has no window, and by the fuzz build,
# which builds no Qt GUI: none of their files may reach Qt's GUI or widget modules.
# Run as: cmake -DDIR=<formats folder> -P qtcore_only.cmake
file(GLOB sources "${DIR}/*.h" "${DIR}/*.cpp" "${DIR}/*.txt")
list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "no sources found in ${DIR}")
endif()
foreach(source IN LISTS sources)
    file(STRINGS "${source}" hits
        REGEX "Qt6::(Gui|Widgets|PrintSupport)|COMPONENTS[^)]*(Gui|Widgets)|#[ \t]*include[ \t]*<Qt(Gui|Widgets)|#[ \t]*include[ \t]*<Q(Widget|Color|Image|Painter|Font|Pixmap|Application|GuiApplication)>")
    if(hits)
        message(FATAL_ERROR "${source} reaches beyond QtCore: ${hits}")
    endif()
endforeach()
message(STATUS "${count} files, none beyond QtCore")
