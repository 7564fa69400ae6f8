# Speed of one whole analysis cycle (drain, filter, trim, detector, refinement,
# quantizer) with Google Benchmark.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(bench_pipeline ${CMAKE_CURRENT_LIST_DIR}/bench_pipeline.cpp)
  target_link_libraries(bench_pipeline PRIVATE Music orfe_synth benchmark::benchmark)
  target_include_directories(bench_pipeline PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
endif()
