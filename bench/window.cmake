# The cost of building the main window with its panes, and of one resize that lays all
# panes out again, at 4, 64 and 256 cores. Runs under Wine.
if(WIN32)
  add_executable(bench_window ${CMAKE_CURRENT_LIST_DIR}/WindowBench.cpp ${CMAKE_SOURCE_DIR}/resources/Vaderur.rc)
  target_link_libraries(bench_window PRIVATE vaderur_win32)
endif()
