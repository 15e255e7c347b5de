# The cost of painting one pane in line and bar mode as the history grows. Runs under Wine.
if(WIN32)
  add_executable(bench_paint ${CMAKE_CURRENT_LIST_DIR}/PaintBench.cpp)
  target_link_libraries(bench_paint PRIVATE vaderur_win32)
endif()
