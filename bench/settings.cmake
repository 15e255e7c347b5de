# Reading and rewriting "Vaderur.ini": native only, as the file code is the same portable code
# on both platforms.
if(NOT WIN32)
  add_executable(bench_settings ${CMAKE_CURRENT_LIST_DIR}/SettingsBench.cpp)
  target_link_libraries(bench_settings PRIVATE vaderur_portable)
endif()
