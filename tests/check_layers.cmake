# The layers as the build keeps them: no file of the core or the export code includes a header
# of Qt Widgets, and brondelwick-tool links no Qt Widgets and runs with no display and no
# platform named. Run by CTest with SOURCE_DIR, WIDGETS_INCLUDE_DIR, TOOL and SAMPLE set.
file(GLOB_RECURSE core_files ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
list(FILTER core_files EXCLUDE REGEX "/src/window/")
set(offending "")
foreach(file ${core_files})
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
    get_filename_component(name ${header} NAME)
    if(header MATCHES "^QtWidgets/" OR header MATCHES "^window/" OR EXISTS ${WIDGETS_INCLUDE_DIR}/${name})
      list(APPEND offending "${file}: ${header}")
    endif()
  endforeach()
endforeach()
if(offending)
  list(JOIN offending "\n  " text)
  message(FATAL_ERROR "the core includes the window's or Qt Widgets' headers:\n  ${text}")
endif()

execute_process(COMMAND ldd ${TOOL} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR libraries MATCHES "libQt6Widgets")
  message(FATAL_ERROR "brondelwick-tool links Qt Widgets (or ldd failed):\n${libraries}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=QT_QPA_PLATFORM --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        ${TOOL} info ${SAMPLE}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "Kind: object" OR NOT err STREQUAL "")
  message(FATAL_ERROR "brondelwick-tool info without a display: status ${status}\n${out}\n${err}")
endif()
