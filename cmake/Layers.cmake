# The source folders are layers. A folder's files may include headers of their own folder and
# of the folders below it, never of one above: vaderur_check_layers() reads every #include at
# build time and fails the build on a wrong-way one, naming the file and what it may use.
set(VADERUR_LAYER_ORDER core settings win32 graph export window plugin)
# What each folder may include besides itself (resources/ holds only the resource ids).
set(VADERUR_MAY_USE_core "")
set(VADERUR_MAY_USE_settings core)
set(VADERUR_MAY_USE_win32 core settings)
set(VADERUR_MAY_USE_graph core settings win32)
set(VADERUR_MAY_USE_export core settings win32 graph)
set(VADERUR_MAY_USE_window core settings win32 graph export resources)
set(VADERUR_MAY_USE_plugin core settings win32 graph export window resources)

set_property(GLOBAL PROPERTY VADERUR_LAYER_FOLDERS "")

# vaderur_layer(NAME FOLDERS f... SOURCES s... [USES lower-library] [SYSTEM system-libraries...])
function(vaderur_layer name)
  cmake_parse_arguments(L "" "USES" "FOLDERS;SOURCES;SYSTEM" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_link_libraries(${name} PUBLIC vaderur_options ${L_USES} ${L_SYSTEM})
  set_property(GLOBAL APPEND PROPERTY VADERUR_LAYER_FOLDERS ${L_FOLDERS})
  set_property(GLOBAL APPEND PROPERTY VADERUR_LAYER_TARGETS ${name})
endfunction()

function(vaderur_check_layers)
  get_property(folders GLOBAL PROPERTY VADERUR_LAYER_FOLDERS)
  get_property(targets GLOBAL PROPERTY VADERUR_LAYER_TARGETS)
  set(files "")
  foreach(folder ${folders})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND files ${found})
  endforeach()
  set(stamp ${CMAKE_BINARY_DIR}/layers.checked)
  list(JOIN folders "," folderArgument)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DFOLDERS=${folderArgument}
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake ${CMAKE_SOURCE_DIR}/cmake/Layers.cmake
    COMMENT "Checking that every include points down the layers")
  add_custom_target(vaderur_layers DEPENDS ${stamp})
  foreach(target ${targets})
    add_dependencies(${target} vaderur_layers)
  endforeach()
endfunction()
