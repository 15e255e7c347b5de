# The cost of one SampleHistory::Push, growth included (native, Google Benchmark).
if(NOT WIN32)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    add_executable(bench_history ${CMAKE_CURRENT_LIST_DIR}/HistoryBench.cpp)
    target_link_libraries(bench_history PRIVATE vaderur_portable benchmark::benchmark)
  endif()
endif()
