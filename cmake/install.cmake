# Installs the game, its data, launcher, desktop entry, icons, metadata and manual page; undoes
# that install; builds the Debian package.
#
# Layout under any prefix, as Debian lays out a game: games/velmoor (the launcher),
# lib/games/velmoor/velmoor (the game), share/games/velmoor/Common/ (its data), share/man/man6,
# share/applications, share/icons/hicolor, share/metainfo, share/doc/velmoor. The launcher finds
# the game and the data relative to its own place, so the tree can be installed under any prefix.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/hardening.cmake)

if(PROJECT_VERSION)
  set(VELMOOR_VERSION ${PROJECT_VERSION})
else()
  set(VELMOOR_VERSION 1.0.0)
endif()
# The desktop entry and the AppStream metadata are named after this id.
set(VELMOOR_APP_ID invalid.velmoor.Velmoor)
set(VELMOOR_MAINTAINER "Velmoor developers <velmoor@velmoor.invalid>" CACHE STRING
  "Maintainer of the Debian package: name <email>")

set(VELMOOR_LAUNCHER_DIR games)
set(VELMOOR_GAME_DIR lib/games/velmoor)
set(VELMOOR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/games/velmoor)
set(VELMOOR_MAN_DIR ${CMAKE_INSTALL_MANDIR}/man6)
set(VELMOOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/velmoor)

# The folders this install creates go into install_manifest.txt beside its files, so that the
# uninstall removes them again once empty, and never a folder that was there before (a shared
# PREFIX/games or share/icons stays). A folder an earlier install under this prefix made counts
# still: the manifest of that install lists it.
set(VELMOOR_INSTALL_FOLDERS ${VELMOOR_LAUNCHER_DIR} ${VELMOOR_GAME_DIR} ${VELMOOR_DATA_DIR}/Common
  ${VELMOOR_MAN_DIR} ${VELMOOR_DOC_DIR} ${CMAKE_INSTALL_DATADIR}/applications ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 48 64 128 256)
  list(APPEND VELMOOR_INSTALL_FOLDERS ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
string(CONFIGURE [[
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(made "")
  if(EXISTS "@CMAKE_BINARY_DIR@/install_manifest.txt")
    file(STRINGS "@CMAKE_BINARY_DIR@/install_manifest.txt" earlier)
    foreach(path IN LISTS earlier)
      string(FIND "${path}" "${root}/" at)
      if(at EQUAL 0 AND IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
        list(APPEND made "${path}")
      endif()
    endforeach()
  endif()
  foreach(folder IN ITEMS @VELMOOR_INSTALL_FOLDERS@)
    set(path "${root}/${folder}")
    while(NOT EXISTS "${path}" AND NOT IS_SYMLINK "${path}" AND NOT path STREQUAL root)
      list(APPEND made "${path}")
      get_filename_component(path "${path}" DIRECTORY)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES made)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${made})
]] VELMOOR_RECORD_FOLDERS @ONLY)
install(CODE "${VELMOOR_RECORD_FOLDERS}")

# The game and the files it reads: images, sounds, music and maps. Settings.bin and anything
# else a checkout's Common/ may hold (the game's temporary file, editor backups) stay out.
install(TARGETS velmoor RUNTIME DESTINATION ${VELMOOR_GAME_DIR})
install(DIRECTORY Common/ DESTINATION ${VELMOOR_DATA_DIR}/Common
  FILES_MATCHING PATTERN "*.png" PATTERN "*.wav" PATTERN "*.mid" PATTERN "*.tmx")

# The launcher, with the paths from its folder to the game and the data.
file(RELATIVE_PATH VELMOOR_GAME_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${VELMOOR_LAUNCHER_DIR}
  ${CMAKE_INSTALL_PREFIX}/${VELMOOR_GAME_DIR}/velmoor)
file(RELATIVE_PATH VELMOOR_DATA_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${VELMOOR_LAUNCHER_DIR}
  ${CMAKE_INSTALL_PREFIX}/${VELMOOR_DATA_DIR}/Common)
configure_file(packaging/launcher.sh.in packaging/velmoor @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/packaging/velmoor DESTINATION ${VELMOOR_LAUNCHER_DIR})

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
  set(VELMOOR_LAUNCHER_DIR "@VELMOOR_LAUNCHER_DIR@")
  cmake_path(ABSOLUTE_PATH VELMOOR_LAUNCHER_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
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
# Debian wants the changelog and the manual page compressed to the maximum, without a time stamp.
foreach(name changelog velmoor.6)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}.gz
    COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${name} > ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}.gz
    DEPENDS packaging/${name})
endforeach()
add_custom_target(velmoor_docs ALL
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/velmoor.6.gz)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${VELMOOR_DOC_DIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/velmoor.6.gz DESTINATION ${VELMOOR_MAN_DIR})

# `cmake --build BUILD --target uninstall` undoes `cmake --install BUILD`: it removes the files and
# folders that install listed in BUILD/install_manifest.txt, and a folder only once it is empty.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -D MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt -P ${CMAKE_CURRENT_LIST_DIR}/uninstall.cmake
  VERBATIM)

# The Debian package: `cpack -G DEB` in the build folder makes velmoor_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmoor)
set(CPACK_PACKAGE_VERSION ${VELMOOR_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "winter game: a deer, its tracks in the snow and a hunter")
set(CPACK_PACKAGE_DESCRIPTION "A small single-player 2D game. You are a deer crossing a
snow-covered land in search of the last patches of green grass; a hunter
who reads your tracks in the snow follows them and shoots on sight.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package's game is stripped as Debian strips programs; its debug data go into
# velmoor-dbgsym_<version>_<arch>.ddeb beside the package, under /usr/lib/debug/.build-id/
# (a RelWithDebInfo or Debug build has them).
set(CPACK_VELMOOR_GAME ${VELMOOR_GAME_DIR}/velmoor)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_debug.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_debug.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMOOR_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries come from the game's own links; the mixer's FluidSynth plays the music with the
# default General MIDI soundfont, which these packages provide.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf3-soundfont-gm")
include(CPack)
