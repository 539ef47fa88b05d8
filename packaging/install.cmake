# Where `cmake --install` puts the game, and the Debian package made from that layout.
# The programs sit in games/, as Debian keeps games; the game finds its data at ../share/zorvex
# from its own folder.
# Folders 0755 whatever the packager's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(ZORVEX_INSTALL_GAMESDIR games CACHE STRING "Where the programs are installed, under the prefix")
install(TARGETS zorvex zorvex-wavinfo DESTINATION ${ZORVEX_INSTALL_GAMESDIR})
install(DIRECTORY ${ZORVEX_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvex)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zorvex.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# What software centres list the game by.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.zorvex.zorvex.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${ZORVEX_ICON_SIZES})
  install(FILES ${ZORVEX_ICON_DIR}/zorvex-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME zorvex.png)
endforeach()

# Manual pages and the changelog are installed compressed, as Debian keeps them; gzip -n leaves
# out the name and time, so that the same sources always give the same bytes. The pages take the
# version from project().
set(ZORVEX_DOCS)
foreach(page zorvex.6 zorvex-wavinfo.6)
  set(source ${CMAKE_SOURCE_DIR}/packaging/${page})
  set(output ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "sed 's/@VERSION@/${PROJECT_VERSION}/g' '${source}' | gzip -9 -n > '${output}'"
    DEPENDS ${source}
    VERBATIM)
  list(APPEND ZORVEX_DOCS ${output})
  install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
set(ZORVEX_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${ZORVEX_CHANGELOG}
  COMMAND sh -c "gzip -9 -n -c '${CMAKE_SOURCE_DIR}/packaging/changelog' > '${ZORVEX_CHANGELOG}'"
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  VERBATIM)
list(APPEND ZORVEX_DOCS ${ZORVEX_CHANGELOG})
add_custom_target(zorvex_docs ALL DEPENDS ${ZORVEX_DOCS})
install(FILES ${ZORVEX_CHANGELOG} ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The informational lintian tags that stay, each with the reason.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME zorvex)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "single-screen arcade brick-breaker")
# Lines of at most 80 columns, as the Debian control file wants them; CPack puts the summary
# above them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Steer the ship along the bottom of the screen with the mouse, keep the balls
in play and shoot down the waves of falling, weaving bricks. Every brick takes
three hits, and every wave has its own background and tune.")
set(CPACK_PACKAGE_CONTACT "The Zorvex developers <developers@zorvex.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends: from the libraries the program links
set(CPACK_STRIP_FILES ON)
# Control files with the modes dpkg gives them.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
