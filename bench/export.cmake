# One full export of 16 panes of 86,400 samples: wall time and peak memory. Runs under Wine;
# its pictures go to a folder of its own. bench/export-vs-gnuplot.sh sets it beside gnuplot.
if(WIN32)
  add_executable(bench_export ${CMAKE_CURRENT_LIST_DIR}/ExportBench.cpp)
  target_link_libraries(bench_export PRIVATE vaderur_win32 psapi)
  set_target_properties(bench_export PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench-export)
endif()
