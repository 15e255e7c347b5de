# The release package: cmake --install (or cpack, a ZIP) gives one folder with the plug-in,
# the host, the README and the sample log.
install(TARGETS zentrix-host RUNTIME DESTINATION .)
install(PROGRAMS $<TARGET_FILE:Vaderur> DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/host/samples/replay-4-cores.csv DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vaderur)
set(CPACK_PACKAGE_VENDOR "Vaderur project")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Vaderur-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
