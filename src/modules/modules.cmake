# The view framework and the views: static library orfe_views (widgets,
# QPainter, fixed-function OpenGL). Included by src/CMakeLists.txt when the
# graphical program is built.

find_package(Qt5 REQUIRED COMPONENTS Gui Widgets)
find_package(OpenGL REQUIRED)

add_library(orfe_views STATIC
  ${CMAKE_CURRENT_LIST_DIR}/View.cpp
  ${CMAKE_CURRENT_LIST_DIR}/View.h
  ${CMAKE_CURRENT_LIST_DIR}/DialView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialView.h
  ${CMAKE_CURRENT_LIST_DIR}/GLViewUtil.h
  ${CMAKE_CURRENT_LIST_DIR}/GLHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLHistory.h
  ${CMAKE_CURRENT_LIST_DIR}/ViewFeed.h
  ${CMAKE_CURRENT_LIST_DIR}/GLErrorHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLErrorHistory.h
  ${CMAKE_CURRENT_LIST_DIR}/GLVolumeHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLVolumeHistory.h
  ${CMAKE_CURRENT_LIST_DIR}/GLDevicePixels.h
  ${CMAKE_CURRENT_LIST_DIR}/GLSample.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLSample.h
  ${CMAKE_CURRENT_LIST_DIR}/GLFreqStruct.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLFreqStruct.h
  ${CMAKE_CURRENT_LIST_DIR}/ErrorScaleLabels.h
  ${CMAKE_CURRENT_LIST_DIR}/GLStatistics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLStatistics.h
  ${CMAKE_CURRENT_LIST_DIR}/GLGraph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLGraph.h
  ${CMAKE_CURRENT_LIST_DIR}/GLFT.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GLFT.h
  ${CMAKE_CURRENT_LIST_DIR}/MicrotonalView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MicrotonalView.h)
target_include_directories(orfe_views PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(orfe_views PUBLIC Music Scales orfe_settings Qt5::Widgets Qt5::Gui OpenGL::GL)
