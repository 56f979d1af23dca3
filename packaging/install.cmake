# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it:
#   bin/dalvo, bin/dalvo-check, share/dalvo/ (the bundled game), the desktop entry, the
#   AppStream metadata, the icons, the manual pages and the docs.
include(GNUInstallDirs)
find_program(GZIP gzip REQUIRED)

set(DALVO_DIST ${CMAKE_BINARY_DIR}/dist)
set(DALVO_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
# The installed game is a fresh data folder of its own: build/data is played, and saved
# into, by the build's own program.
add_custom_command(
  OUTPUT ${DALVO_DIST}/game.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${DALVO_DIST}/game
  COMMAND dalvo-mkdata --content ${CMAKE_SOURCE_DIR}/content --out ${DALVO_DIST}/game
  COMMAND ${CMAKE_COMMAND} -E touch ${DALVO_DIST}/game.stamp
  DEPENDS dalvo-mkdata ${CONTENT_FILES}
  COMMENT "Building the data folder to install")
# Manual pages and the changelog are installed compressed, without a time stamp, so that
# two builds of one source make the same package.
set(DALVO_GZIPPED)
foreach(source dalvo.6 dalvo-check.1 changelog)
  add_custom_command(
    OUTPUT ${DALVO_DIST}/${source}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DALVO_DIST}
    COMMAND ${GZIP} -9n -c ${DALVO_PACKAGING}/${source} > ${DALVO_DIST}/${source}.gz
    DEPENDS ${DALVO_PACKAGING}/${source})
  list(APPEND DALVO_GZIPPED ${DALVO_DIST}/${source}.gz)
endforeach()
add_custom_target(dist ALL DEPENDS ${DALVO_DIST}/game.stamp ${DALVO_GZIPPED})

# The game and its checker go to bin/; installed into /usr, as the Debian package is, to
# games/, where the system keeps its games. Decided when installing, where the prefix is known.
install(CODE "set(DALVO_GAMES_DIR ${CMAKE_INSTALL_BINDIR})
if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
  set(DALVO_GAMES_DIR games)
endif()")
install(TARGETS dalvo dalvo-check RUNTIME DESTINATION "\${DALVO_GAMES_DIR}")
# The game's files are read by every player and written by none.
install(DIRECTORY ${DALVO_DIST}/game/ DESTINATION ${CMAKE_INSTALL_DATADIR}/dalvo
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${DALVO_PACKAGING}/dalvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DALVO_PACKAGING}/org.dalvo.dalvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The game's scenario and names list are Shift-JIS text, as the game reads them.
install(FILES ${DALVO_PACKAGING}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME dalvo)
install(FILES ${DALVO_DIST}/dalvo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${DALVO_DIST}/dalvo-check.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/authoring.md
  ${DALVO_PACKAGING}/copyright ${DALVO_DIST}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dalvo)
# The window's icon at every size, where the window's own build draws it.
if(TARGET dalvo_icons)
  add_dependencies(dist dalvo_icons)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_PACKAGE_NAME dalvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "DALVO! team <dalvo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese scenario-driven game (visual novel)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "DALVO! is a school story told over a calendar of half days, with three
school subjects to study between its scenes: messages, choices, a name
entry, save slots, music and an ending with its staff roll, in one
640x480 window.

The engine also plays other stories written for it; dalvo-check checks
such a story's data folder without playing it.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The sound library is opened by name at run time, so no library scan finds it; the
# soundfont and the fonts are data the program looks for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libsdl2-mixer-2.0-0, timgm6mb-soundfont, fonts-ipafont-gothic, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
