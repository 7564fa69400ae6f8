# Speed of one analysis of each detector (CombedFT, PartialFitDetector) with Google Benchmark.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(bench_detector ${CMAKE_CURRENT_LIST_DIR}/bench_detector.cpp)
  target_link_libraries(bench_detector PRIVATE Music benchmark::benchmark)
  # The allocation counter shared with the tests.
  target_include_directories(bench_detector PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
else()
  message(STATUS "Google Benchmark not found: bench_detector is not built")
endif()
