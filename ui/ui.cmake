# Translations, desktop integration and the data folders of the program.
# The layouts, the images and the resource file are compiled into orfe_app
# (src/shell.cmake); this file builds the catalogues and installs the rest.

find_package(Qt5LinguistTools REQUIRED)

# orfe_<locale>.ts -> orfe_<locale>.qm, looked for under share/orfe/translations.
file(GLOB ORFE_TS_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/translations/orfe_*.ts)
set_source_files_properties(${ORFE_TS_FILES} PROPERTIES OUTPUT_LOCATION ${CMAKE_CURRENT_BINARY_DIR}/translations)
qt5_add_translation(ORFE_QM_FILES ${ORFE_TS_FILES})
add_custom_target(orfe_translations ALL DEPENDS ${ORFE_QM_FILES})
set(ORFE_QM_DIR ${CMAKE_CURRENT_BINARY_DIR}/translations CACHE INTERNAL "Where the compiled catalogues are built")
install(FILES ${ORFE_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/orfe/translations)

# The Scala scales shipped with the program, the microtonal view's choices on a
# fresh install (read from the same folder by Scales::InstalledScalesDirectory).
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/scales/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orfe/scales
        FILES_MATCHING PATTERN "*.scl")

# Desktop entry, icon and AppStream metainfo, all named by the reverse-DNS id.
if(NOT ORFE_APP_ID)
  message(FATAL_ERROR "ORFE_APP_ID is set by src/shell.cmake")
endif()
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/${ORFE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/images/orfe.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${ORFE_APP_ID}.svg)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/${ORFE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
