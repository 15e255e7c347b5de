# Release binaries that anyone can rebuild bit for bit from the same commit, wherever the
# clone and the build folder are, and whose symbols ship apart from them. Included from the
# top-level CMakeLists.txt before the packaging rules: CPack reads the CPACK_ variables below
# when it is included.
if(NOT MINGW)
  return()
endif()

# No folder of this machine in the objects: the debug information and __FILE__ name the
# sources /vaderur/... and the build tree /vaderur-build/... GCC applies the last matching map,
# so the build tree, which may lie inside the sources, comes second.
target_compile_options(vaderur_options INTERFACE
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=/vaderur>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=/vaderur-build>"
  # Symbols for every configuration: the build tree keeps them, the package moves them out.
  "$<$<COMPILE_LANGUAGE:C,CXX>:-g>")
# The PE header and the export directory get the time stamp 0 instead of the link time.
target_link_options(vaderur_options INTERFACE -Wl,--no-insert-timestamp)

# Installing (cmake --install, or cpack into its staging folder) strips the plug-in and the
# host in place and leaves their symbols in build/symbols/NAME.debug, which the stripped file
# names in a .gnu_debuglink section (with its CRC, so a debugger takes only the matching one).
# Deferred to the end of the top-level directory so that it runs after every install rule.
set(VADERUR_SYMBOLS_DIR ${CMAKE_BINARY_DIR}/symbols)
function(vaderur_install_symbols_apart)
  foreach(target Vaderur zentrix-host)
    if(NOT TARGET ${target})
      continue()
    endif()
    # Both binaries sit at the top of the package.
    set(installed "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:${target}>")
    set(symbols "${VADERUR_SYMBOLS_DIR}/$<TARGET_FILE_NAME:${target}>.debug")
    # objcopy stamps the PE files it writes with SOURCE_DATE_EPOCH, else with the time of day.
    set(objcopy "\"${CMAKE_COMMAND}\" -E env SOURCE_DATE_EPOCH=0 \"${CMAKE_OBJCOPY}\"")
    install(CODE "
      file(MAKE_DIRECTORY \"${VADERUR_SYMBOLS_DIR}\")
      execute_process(COMMAND ${objcopy} --only-keep-debug \"${installed}\" \"${symbols}\"
                      COMMAND_ERROR_IS_FATAL ANY)
      execute_process(COMMAND ${objcopy} --strip-all \"--add-gnu-debuglink=${symbols}\" \"${installed}\"
                      COMMAND_ERROR_IS_FATAL ANY)
      message(STATUS \"Symbols: ${symbols}\")")
  endforeach()
endfunction()
cmake_language(DEFER CALL vaderur_install_symbols_apart)

# The ZIP: every entry dated by the commit (SOURCE_DATE_EPOCH, unless the caller set it), and
# the debug files copied beside it.
set(CPACK_VADERUR_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_VADERUR_SYMBOLS_DIR ${VADERUR_SYMBOLS_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/ReproduciblePackage.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/ReproduciblePackage.cmake)
