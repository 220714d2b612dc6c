# Installs the game, its data, launcher, desktop entry, icons and metadata; builds the Debian package.
#
# Layout under any prefix: bin/velmoor (the launcher), libexec/velmoor/velmoor (the game),
# share/velmoor/Common/ (its data), share/applications, share/icons/hicolor, share/metainfo.
# The launcher finds the game and the data relative to its own place, so the tree can be
# installed under any prefix.
include(GNUInstallDirs)

if(PROJECT_VERSION)
  set(VELMOOR_VERSION ${PROJECT_VERSION})
else()
  set(VELMOOR_VERSION 1.0.0)
endif()
# The desktop entry and the AppStream metadata are named after this id.
set(VELMOOR_APP_ID invalid.velmoor.Velmoor)
set(VELMOOR_MAINTAINER "Velmoor developers <velmoor@velmoor.invalid>" CACHE STRING
  "Maintainer of the Debian package: name <email>")

set(VELMOOR_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/velmoor)
set(VELMOOR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/velmoor)

# The game and the files it reads: images, sounds, music and maps. Settings.bin and anything
# else a checkout's Common/ may hold (the game's temporary file, editor backups) stay out.
install(TARGETS velmoor RUNTIME DESTINATION ${VELMOOR_GAME_DIR})
install(DIRECTORY Common/ DESTINATION ${VELMOOR_DATA_DIR}/Common
  FILES_MATCHING PATTERN "*.png" PATTERN "*.wav" PATTERN "*.mid" PATTERN "*.tmx")

# The launcher, with the paths from bin/ to the game and the data.
file(RELATIVE_PATH VELMOOR_GAME_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${VELMOOR_GAME_DIR}/velmoor)
file(RELATIVE_PATH VELMOOR_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${VELMOOR_DATA_DIR}/Common)
configure_file(packaging/launcher.sh.in packaging/velmoor @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/packaging/velmoor DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop icons, drawn by the media generator into the build folder at the sizes it knows.
set(VELMOOR_ICONS "")
foreach(size 32 48 64 128 256)
  list(APPEND VELMOOR_ICONS ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/apps/velmoor.png)
endforeach()
add_custom_command(OUTPUT ${VELMOOR_ICONS}
  COMMAND make_assets --icons ${CMAKE_CURRENT_BINARY_DIR}/icons
  DEPENDS make_assets
  COMMENT "Drawing the desktop icons")
add_custom_target(velmoor_icons ALL DEPENDS ${VELMOOR_ICONS})
install(DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The desktop entry names the launcher by its full path, known only when installing (the prefix
# may be given then, and the package installs under /usr).
set(VELMOOR_DESKTOP_TEMPLATE ${CMAKE_CURRENT_SOURCE_DIR}/packaging/velmoor.desktop.in)
string(CONFIGURE [[
  set(VELMOOR_BIN_DIR "@CMAKE_INSTALL_BINDIR@")
  cmake_path(ABSOLUTE_PATH VELMOOR_BIN_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
  file(READ "@VELMOOR_DESKTOP_TEMPLATE@" entry)
  string(CONFIGURE "${entry}" entry @ONLY)
  set(path "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_DATADIR@/applications/@VELMOOR_APP_ID@.desktop")
  message(STATUS "Installing: ${path}")
  file(WRITE "${path}" "${entry}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${path}")
]] VELMOOR_INSTALL_DESKTOP_ENTRY @ONLY)
install(CODE "${VELMOOR_INSTALL_DESKTOP_ENTRY}")

configure_file(packaging/velmoor.metainfo.xml.in packaging/${VELMOOR_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/${VELMOOR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian wants the changelog compressed to the maximum, without a time stamp.
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog > ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
  DEPENDS packaging/changelog)
add_custom_target(velmoor_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmoor)

# The Debian package: `cpack -G DEB` in the build folder makes velmoor_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmoor)
set(CPACK_PACKAGE_VERSION ${VELMOOR_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "winter game: a deer, its tracks in the snow and a hunter")
set(CPACK_PACKAGE_DESCRIPTION "A small single-player 2D game. You are a deer crossing a
snow-covered land in search of the last patches of green grass; a hunter
who reads your tracks in the snow follows them and shoots on sight.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMOOR_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries come from the game's own links; the mixer's FluidSynth plays the music with the
# default General MIDI soundfont, which these packages provide.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf3-soundfont-gm")
include(CPack)
