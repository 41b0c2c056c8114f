# Where an installed Vortiq keeps its parts, relative to the install prefix;
# read by the install rules and by the tests of the installed game.
include(GNUInstallDirs)

set(VORTIQ_APP_ID io.github.vortiq.Vortiq)
set(VORTIQ_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/vortiq)
set(VORTIQ_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vortiq)
set(VORTIQ_ICON_SIZES 16 32 48 64 128 256)
# The game data made afresh for installing (see install.cmake).
set(VORTIQ_INSTALL_DATA ${CMAKE_BINARY_DIR}/install-data)
set(VORTIQ_LAUNCHER ${CMAKE_BINARY_DIR}/packaging/vortiq)

# The launcher finds the rest relative to its own place, so an installed tree
# can be moved (and installed with --prefix) as a whole.
file(RELATIVE_PATH VORTIQ_BIN_TO_PREFIX /prefix/${CMAKE_INSTALL_BINDIR} /prefix)
configure_file(${CMAKE_SOURCE_DIR}/packaging/vortiq.in ${VORTIQ_LAUNCHER} @ONLY)

# The Debian package keeps Debian's layout for games: the command in games/,
# the shared data in share/games/vortiq. An install to a prefix keeps bin/ and
# share/vortiq, since games/ is on no one's PATH under ~/.local or /usr/local.
set(VORTIQ_GAMES_BINDIR games)
set(VORTIQ_GAMES_DATA_DIR ${CMAKE_INSTALL_DATADIR}/games/vortiq)
set(VORTIQ_GAMES_LAUNCHER ${CMAKE_BINARY_DIR}/packaging/games/vortiq)
function(vortiq_games_launcher)
  set(VORTIQ_DATA_DIR ${VORTIQ_GAMES_DATA_DIR})
  file(RELATIVE_PATH VORTIQ_BIN_TO_PREFIX /prefix/${VORTIQ_GAMES_BINDIR} /prefix)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/vortiq.in ${VORTIQ_GAMES_LAUNCHER} @ONLY)
endfunction()
vortiq_games_launcher()
