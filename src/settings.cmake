# The settings store, static library orfe_settings: the main window's store
# and the table of control types the views persist their settings with.
# Included by src/CMakeLists.txt when the graphical program is built.

find_package(Qt5 REQUIRED COMPONENTS Widgets)

add_library(orfe_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AutoQSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutoQSettings.h)
target_include_directories(orfe_settings PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(orfe_settings PUBLIC Qt5::Widgets)
