# The cost of one Update at 4, 64 and 256 cores, beside the one platform call it cannot
# avoid (InvalidateRect of the main window). Runs under Wine.
if(WIN32)
  add_executable(bench_update ${CMAKE_CURRENT_LIST_DIR}/UpdateBench.cpp ${CMAKE_SOURCE_DIR}/resources/Vaderur.rc)
  target_link_libraries(bench_update PRIVATE vaderur_win32)
endif()
