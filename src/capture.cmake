# Sound capture: the capture front and its transports (Qt audio input, JACK, OSS).
# QtCore, QtMultimedia and JACK only, never widgets.
add_library(orfe_capture STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThread.h
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThread.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImpl.h
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImpl.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImplJACK.h
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImplJACK.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImplOSS.h
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImplOSS.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImplQt.h
  ${CMAKE_CURRENT_SOURCE_DIR}/CaptureThreadImplQt.cpp)
target_include_directories(orfe_capture PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(orfe_capture PUBLIC Music Qt5::Core Qt5::Multimedia PkgConfig::JACK)
# The tests and benchmarks link orfe_capture from other folders: Qt5::Multimedia, found
# in this folder, must be visible there too (PkgConfig::JACK is global already).
get_target_property(_orfe_mm_global Qt5::Multimedia IMPORTED_GLOBAL)
if(NOT _orfe_mm_global)
  set_target_properties(Qt5::Multimedia PROPERTIES IMPORTED_GLOBAL TRUE)
endif()
