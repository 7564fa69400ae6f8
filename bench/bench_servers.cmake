# Capture figures on private sound servers (bench_servers.sh starts them with the test
# fixtures' scripts):
#   - Qt input on PulseAudio and on PipeWire: time from a click handed to the server to
#     its first sample in the capture queue (median, maximum), and the share of 20 ms
#     cycles that find new sound on a steady tone (target: at least 95 %);
#   - JACK transport on jackd and on pipewire-jack: that share.
# Run: sh bench/bench_servers.sh build   (ORFE_BENCH_SECONDS=N per figure, default 10)
if(TARGET orfe_capture)
  add_executable(bench_servers ${CMAKE_CURRENT_LIST_DIR}/bench_servers.cpp)
  target_link_libraries(bench_servers PRIVATE orfe_capture PkgConfig::JACK)
endif()
