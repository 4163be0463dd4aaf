# Installation layout, manual pages and the Debian package r-kvt-ms.
# `cmake --install BUILD --prefix /usr/local` installs; `cmake --build BUILD --target package` builds the .deb.
include(GNUInstallDirs)

install(TARGETS r-kvt-ms r-kvt-ms-cli r-kvt-ms-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/r-kvt-ms.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/r-kvt-ms.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages from the programs' own --help, so they never drift from it.
# Sanitizer builds skip them: their programs are not what gets installed.
find_program(HELP2MAN help2man)
if(HELP2MAN AND RKVT_SANITIZER STREQUAL "")
  set(man_pages "")
  foreach(program IN ITEMS r-kvt-ms-cli r-kvt-ms-sim)
    if(program STREQUAL "r-kvt-ms-cli")
      set(summary "run one command on an R-KVT-MS line modem over a serial port")
    else()
      set(summary "emulate an R-KVT-MS line modem on a pseudo-terminal")
    endif()
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
    # --version-string: the emulator's --version names an image version, not its own.
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              ${HELP2MAN} --no-info --section=1 --name=${summary} --version-string=${PROJECT_VERSION}
              --source=r-kvt-ms --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program}
      COMMENT "Manual page of ${program}"
      VERBATIM)
    list(APPEND man_pages ${page}.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(RKVT_SANITIZER STREQUAL "")
  message(STATUS "help2man not found: no manual pages (scripts/setup.sh installs it)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME r-kvt-ms)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "r-kvt-ms maintainers <r-kvt-ms@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Service utility for R-KVT-MS line modems")
set(CPACK_PACKAGE_DESCRIPTION
    "Talks to an R-KVT-MS line modem over a serial port: identifies it, shows its state and statistics, \
runs loop tests, edits its setup and loads new firmware. Comes with a command-line tool and a modem emulator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The libraries come from what the programs link; Qt's platform plugins are loaded, not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
