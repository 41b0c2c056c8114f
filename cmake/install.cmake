# Installation, desktop integration and the Debian package.
#
#   bin/vortiq                         the launcher: prepares the player's folder, runs the game there
#   libexec/vortiq/vortiq              the game itself
#   share/vortiq/base/                 pictures, meshes, music and sounds (read-only, shared)
#   share/vortiq/help.htm              the help page
#   share/vortiq/defaults/             the high scores and settings a new player starts with
#   share/applications/, share/metainfo/, share/icons/hicolor/NxN/apps/   the desktop's view of it
#   share/man/man6/vortiq.6.gz         the manual page
#   share/doc/vortiq/                  the licence (copyright) and the changelog
#
# The Debian package moves the command to games/ and the shared data to
# share/games/vortiq (see debian_games_layout.cmake).
#
# The data is made afresh at install time into its own folder, so the high
# scores and settings of whoever played from the build tree never ship.

include(${CMAKE_CURRENT_LIST_DIR}/install_layout.cmake)

install(PROGRAMS ${VORTIQ_LAUNCHER} DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vortiq)
  install(TARGETS vortiq RUNTIME DESTINATION ${VORTIQ_PROGRAM_DIR})
endif()

if(TARGET vortiq-data)
  install(CODE "
    file(REMOVE_RECURSE \"${VORTIQ_INSTALL_DATA}\")
    message(STATUS \"Making the game data in ${VORTIQ_INSTALL_DATA}\")
    execute_process(
      COMMAND \"$<TARGET_FILE:vortiq-data>\" \"${VORTIQ_INSTALL_DATA}\" \"${VORTIQ_INSTALL_DATA}/contact-sheet.png\"
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR \"The data generator failed (\${result}); nothing of the game data is installed.\")
    endif()
  ")
  install(DIRECTORY ${VORTIQ_INSTALL_DATA}/base/ DESTINATION ${VORTIQ_DATA_DIR}/base
    FILES_MATCHING PATTERN "*.bmp" PATTERN "*.raw" PATTERN "*.xm" PATTERN "*.wav")
  install(FILES ${VORTIQ_INSTALL_DATA}/help.htm DESTINATION ${VORTIQ_DATA_DIR})
  install(FILES ${VORTIQ_INSTALL_DATA}/base/hiscores ${VORTIQ_INSTALL_DATA}/base/menu.inf
    DESTINATION ${VORTIQ_DATA_DIR}/defaults)
  foreach(size ${VORTIQ_ICON_SIZES})
    install(FILES ${VORTIQ_INSTALL_DATA}/icons/vortiq-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${VORTIQ_APP_ID}.png)
  endforeach()
endif()

# The manual page and the changelog, compressed as Debian has them (no name
# or time stamp in the gzip header, so a rebuild gives the same bytes).
set(docs ${CMAKE_BINARY_DIR}/packaging)
foreach(doc vortiq.6 changelog)
  add_custom_command(OUTPUT ${docs}/${doc}.gz
    COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/${doc} > ${docs}/${doc}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${doc} VERBATIM)
endforeach()
add_custom_target(vortiq-docs ALL DEPENDS ${docs}/vortiq.6.gz ${docs}/changelog.gz)
install(FILES ${docs}/vortiq.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VORTIQ_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VORTIQ_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# --- The Debian package: `make package`, or cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vortiq)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The project maintains the package; the same name and address stand in the
# changelog, the copyright file and the AppStream data (the package test
# compares them).
set(CPACK_PACKAGE_VENDOR "Vortiq developers")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vortiq developers <devel@vortiq.github.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gem-matching game")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Swap two neighbouring gems on an eight by eight field; lines of three or
more vanish, the gems above fall, new gems drop in, and lines that form by
themselves score again as a chain. A levels mode of twenty-one levels and a
timed mode, hints, pause, two high-score tables, and the last game resumed.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The libraries the game links come from dpkg-shlibdeps where it is
# installed (dpkg-dev); without it they are named here. The help page opens
# with xdg-open; SDL opens libGL (from libgl1) itself, so no link shows it.
find_program(VORTIQ_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VORTIQ_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, xdg-utils")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libsdl2-2.0-0, libsdl2-mixer-2.0-0, libgl1, libglu1-mesa, xdg-utils")
endif()
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian_games_layout.cmake)
set(CPACK_VORTIQ_GAMES_LAUNCHER ${VORTIQ_GAMES_LAUNCHER})
set(CPACK_VORTIQ_BINDIR ${CMAKE_INSTALL_BINDIR})
set(CPACK_VORTIQ_GAMES_BINDIR ${VORTIQ_GAMES_BINDIR})
set(CPACK_VORTIQ_DATA_DIR ${VORTIQ_DATA_DIR})
set(CPACK_VORTIQ_GAMES_DATA_DIR ${VORTIQ_GAMES_DATA_DIR})
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
