# The application shell: entry point, main window, configuration dialog,
# settings store, about box, and the program's layouts and images (from ui/).
# Included by src/CMakeLists.txt when the graphical program is built.

# Reverse-DNS id of the desktop entry, its icon and the AppStream metainfo.
set(ORFE_APP_ID "io.github.orfeon.Orfeon" CACHE INTERNAL "Desktop entry id")
set(ORFE_BRANCH "" CACHE STRING "Branch the build is made from (empty or the release branch: bare version)")

find_package(Qt5 REQUIRED COMPONENTS Multimedia)

set(ORFE_UI_DIR ${CMAKE_SOURCE_DIR}/ui)
add_library(orfe_app STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/AboutBox.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/AboutBox.h
  ${CMAKE_CURRENT_SOURCE_DIR}/CustomConfigForm.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CustomConfigForm.h
  ${CMAKE_CURRENT_SOURCE_DIR}/CustomInstrumentTunerForm.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CustomInstrumentTunerForm.h
  ${CMAKE_CURRENT_SOURCE_DIR}/TunerConfiguration.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/TunerSettings.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Version.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Version.h
  ${ORFE_UI_DIR}/ui_AboutBox.h
  ${ORFE_UI_DIR}/ui_ConfigForm.h
  ${ORFE_UI_DIR}/ui_InstrumentTunerForm.h
  ${ORFE_UI_DIR}/orfe.qrc)
set_target_properties(orfe_app PROPERTIES AUTORCC ON)
target_include_directories(orfe_app PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${ORFE_UI_DIR})
target_compile_definitions(orfe_app PRIVATE
  ORFE_VERSION_NUMBER="${PROJECT_VERSION}"
  ORFE_BRANCH="${ORFE_BRANCH}"
  ORFE_INSTALL_PREFIX="${CMAKE_INSTALL_PREFIX}")
target_link_libraries(orfe_app PUBLIC Music orfe_capture orfe_settings orfe_views Qt5::Widgets Qt5::Gui Qt5::Svg Qt5::Multimedia)

add_executable(orfe ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_compile_definitions(orfe PRIVATE ORFE_APP_ID="${ORFE_APP_ID}")
target_link_libraries(orfe PRIVATE orfe_app)
set_target_properties(orfe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/src)
install(TARGETS orfe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
