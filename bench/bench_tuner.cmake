# Tuner figures, on a private JACK server and X server (see bench_tuner.sh):
#   - latency from a note starting in the JACK server to the main window's note
#     label showing it, median and maximum over 20 notes; target <= 250 ms;
#   - CPU used by the running tuner (orfe) over 30 s with a tone playing, factory
#     settings, dial only (target <= 5 % of one core) and with more views shown;
#   - red status cycles and cycles late by more than 8 refresh periods over 60 s
#     (bench_tuner --status), dial only and with four views shown.
# Run: sh bench/bench_tuner.sh build          (after building bench_tuner, orfe
#      and orfe-jack-tones; ORFE_BENCH_SECONDS=10 for a shorter CPU run,
#      ORFE_STATUS_SECONDS=20 for shorter status runs)
if(TARGET orfe_app AND TARGET orfe_synth)
  add_executable(bench_tuner ${CMAKE_CURRENT_LIST_DIR}/bench_tuner.cpp)
  target_link_libraries(bench_tuner PRIVATE orfe_app orfe_synth PkgConfig::JACK)
endif()
