# Run by CPack (see Reproducible.cmake) before it writes the ZIP and again after; only the
# second run knows CPACK_PACKAGE_FILES.
if(NOT DEFINED CPACK_PACKAGE_FILES)
  # CPack dates every entry by SOURCE_DATE_EPOCH when it is set: take the commit's time, so
  # that two builds of one commit give the same ZIP, not only the same files in it.
  if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    find_program(VADERUR_GIT git)
    if(VADERUR_GIT)
      execute_process(COMMAND "${VADERUR_GIT}" -C "${CPACK_VADERUR_SOURCE_DIR}" log -1 --format=%ct
                      OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                      RESULT_VARIABLE git_status ERROR_QUIET)
      if(git_status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
        set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
      endif()
    endif()
  endif()
  # ZIP entries carry local time: the same in every time zone only from UTC.
  set(ENV{TZ} UTC0)
else()
  # The symbols of the stripped binaries go beside the package (CPACK_PACKAGE_FILES still
  # names the staging folder at this point, the package lands in CPACK_PACKAGE_DIRECTORY).
  file(GLOB symbol_files "${CPACK_VADERUR_SYMBOLS_DIR}/*.debug")
  file(COPY ${symbol_files} DESTINATION "${CPACK_PACKAGE_DIRECTORY}")
  foreach(file IN LISTS symbol_files)
    get_filename_component(name "${file}" NAME)
    message(STATUS "Symbols: ${CPACK_PACKAGE_DIRECTORY}/${name}")
  endforeach()
endif()
