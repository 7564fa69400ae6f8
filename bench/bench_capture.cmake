# Capture figures with Google Benchmark:
#   - BM_JackPeriodToQueue: time from a JACK period written by the server (a source
#     client's process callback) to its samples in the capture queue, median and maximum
#     over ORFE_BENCH_SECONDS (default 60) on a jackd of its own (dummy driver, 1024 frames
#     at 44100 Hz); target: at most one period plus 10 ms;
#   - BM_QueueLockPerPacket: how long a producer holds the queue lock for one packet of
#     1024 samples; target: at most 100 us.
# Run: ./build/bench/bench_capture   (short run: ORFE_BENCH_SECONDS=10 ./build/bench/bench_capture)
if(TARGET orfe_capture)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    add_executable(bench_capture ${CMAKE_CURRENT_LIST_DIR}/bench_capture.cpp)
    target_link_libraries(bench_capture PRIVATE orfe_capture PkgConfig::JACK benchmark::benchmark)
  else()
    message(STATUS "Google Benchmark not found: bench_capture is not built")
  endif()
endif()
