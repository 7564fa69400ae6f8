# Side-by-side measurement of the detectors on synthetic tones and on sampled
# notes (bench/sampled_notes.sh renders them):
#   ./build/bench/detector_compare synth
#   ./build/bench/detector_compare files LIST
add_executable(detector_compare ${CMAKE_CURRENT_LIST_DIR}/detector_compare.cpp)
target_link_libraries(detector_compare PRIVATE Music orfe_synth PkgConfig::SNDFILE)
