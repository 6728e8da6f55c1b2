# Installing the game: the executable in bin/, the bundled content (the Default
# skin and sound set, the demo songs and courses, our plug-ins and movie) in
# share/tarvolen/, the documentation in share/doc/tarvolen/, a desktop entry,
# its icon at every size and the AppStream metainfo. Installed, the game runs in
# the player's own folder and copies the bundled content there (app/game_folder.h).
# CPack makes a .deb of it (tools/package.sh).
set(CMAKE_INSTALL_DOCDIR share/doc/tarvolen)
include(GNUInstallDirs)

set(TV_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_custom_command(OUTPUT ${TV_ICON_DIR}/hicolor/48x48/apps/tarvolen.png
  COMMAND $<TARGET_FILE:tv_contentgen> --icons=${TV_ICON_DIR}
  DEPENDS tv_contentgen
  COMMENT "Drawing the desktop icon"
  VERBATIM)
add_custom_target(desktop_icon ALL DEPENDS ${TV_ICON_DIR}/hicolor/48x48/apps/tarvolen.png)

set(TV_SHARE ${CMAKE_INSTALL_DATADIR}/tarvolen)
# a game's executable goes in games/ (/usr/games and /usr/local/games are on
# every player's PATH on Debian); the game finds its content from there as from bin/
set(TV_INSTALL_BINDIR games CACHE STRING "Where the executable is installed, under the prefix")
install(TARGETS tarvolen RUNTIME DESTINATION ${TV_INSTALL_BINDIR})
# only what the build made: a developer's own songs or settings in the build's
# game folder stay out
install(DIRECTORY ${TV_GAME_DIR}/Skins/Default DESTINATION ${TV_SHARE}/Skins)
install(DIRECTORY ${TV_GAME_DIR}/Sounds/Default DESTINATION ${TV_SHARE}/Sounds)
install(DIRECTORY ${TV_GAME_DIR}/Songs/Demo DESTINATION ${TV_SHARE}/Songs)
install(FILES ${TV_GAME_DIR}/Songs/Demo.png DESTINATION ${TV_SHARE}/Songs OPTIONAL)
install(DIRECTORY ${TV_GAME_DIR}/Courses/Demo DESTINATION ${TV_SHARE}/Courses)
install(FILES ${TV_GAME_DIR}/Courses/Demo.png DESTINATION ${TV_SHARE}/Courses OPTIONAL)
install(FILES ${TV_GAME_DIR}/bonus-1.crs ${TV_GAME_DIR}/bonus-2.crs DESTINATION ${TV_SHARE})
install(FILES ${TV_GAME_DIR}/Movies/Random/tv-drift.avi DESTINATION ${TV_SHARE}/Movies/Random)
# the plug-ins are libraries: they go under lib/, whence the game copies them too
install(TARGETS tv_vis_spectrum tv_vis_scope LIBRARY DESTINATION lib/tarvolen/Vis
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tarvolen.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/io.github.tarvolen.Tarvolen.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${TV_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# the manual page and the package's change log, compressed as Debian wants them
find_program(GZIP_EXE gzip REQUIRED)
foreach(f tarvolen.6 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/${f}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
    COMMAND ${GZIP_EXE} -9nc ${CMAKE_CURRENT_LIST_DIR}/${f} > ${CMAKE_BINARY_DIR}/package/${f}.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${f})
endforeach()
add_custom_target(package_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/package/tarvolen.6.gz ${CMAKE_BINARY_DIR}/package/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/package/tarvolen.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# ---- The Debian package ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvolen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tarvolen developers <tarvolen@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rhythm dance game for one or two players")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Arrows scroll up the screen in time with the music; players step on a dance
mat, press keys or gamepad buttons as each arrow reaches the targets, and the
game judges, scores, grades and records every step. Song packs go into the
player's own game folder, ~/.local/share/tarvolen.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# the runtime libraries the executable and plug-ins link, as dpkg-shlibdeps finds them
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL 1.2 as the compatibility layer over SDL 2, which the game is made for; the
# classic library still runs it
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl1.2-compat-shim | libsdl1.2debian")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
