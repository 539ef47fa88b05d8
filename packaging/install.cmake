# Where `cmake --install` puts the game, and the Debian package made from that layout.
# The program finds its data at ../share/zorvex from its own folder.
install(TARGETS zorvex DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${ZORVEX_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvex)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zorvex.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${ZORVEX_ICON_SIZES})
  install(FILES ${ZORVEX_ICON_DIR}/zorvex-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME zorvex.png)
endforeach()

# Manual pages are installed compressed, as Debian keeps them.
set(ZORVEX_MANPAGE ${CMAKE_BINARY_DIR}/zorvex.6.gz)
add_custom_command(
  OUTPUT ${ZORVEX_MANPAGE}
  COMMAND sh -c "gzip -9 -n -c '${CMAKE_SOURCE_DIR}/packaging/zorvex.6' > '${ZORVEX_MANPAGE}'"
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/zorvex.6
  VERBATIM)
add_custom_target(zorvex_manpage ALL DEPENDS ${ZORVEX_MANPAGE})
install(FILES ${ZORVEX_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "single-screen arcade brick-breaker")
set(CPACK_PACKAGE_DESCRIPTION "Steer the ship with the mouse, keep the balls in play and shoot \
down the waves of falling, weaving bricks. Every wave has its own background and tune.")
set(CPACK_PACKAGE_CONTACT "Zorvex developers <zorvex@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends: from the libraries the program links
set(CPACK_STRIP_FILES ON)
include(CPack)
