# Cost of one value in the statistics view as a session grows, and the memory
# that the kept values take (Google Benchmark; needs the views).
find_package(benchmark QUIET)
if(benchmark_FOUND AND TARGET orfe_views)
  add_executable(bench_statistics ${CMAKE_CURRENT_LIST_DIR}/bench_statistics.cpp)
  target_link_libraries(bench_statistics PRIVATE orfe_views benchmark::benchmark)
endif()
