# The accuracy report: synthetic tones of known pitch through the tuner's pipeline.
#   ./build/bench/orfe-accuracy
add_executable(orfe-accuracy ${CMAKE_CURRENT_LIST_DIR}/accuracy.cpp)
target_link_libraries(orfe-accuracy PRIVATE orfe_analyzer orfe_synth)
