# Run by CPack on the installed tree before it is packed: Debian's layout for
# games. The command moves from bin/ to games/ (as the launcher made for that
# place), the shared data from share/vortiq to share/games/vortiq; the game
# program stays in libexec/vortiq.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
foreach(needed ${root}/${CPACK_VORTIQ_BINDIR}/vortiq ${root}/${CPACK_VORTIQ_DATA_DIR} ${CPACK_VORTIQ_GAMES_LAUNCHER})
  if(NOT EXISTS ${needed})
    message(FATAL_ERROR "The package cannot take Debian's layout for games: ${needed} is missing.")
  endif()
endforeach()

file(REMOVE ${root}/${CPACK_VORTIQ_BINDIR}/vortiq)
file(GLOB left ${root}/${CPACK_VORTIQ_BINDIR}/*)
if(NOT left)
  file(REMOVE_RECURSE ${root}/${CPACK_VORTIQ_BINDIR})
endif()
file(COPY ${CPACK_VORTIQ_GAMES_LAUNCHER} DESTINATION ${root}/${CPACK_VORTIQ_GAMES_BINDIR}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

get_filename_component(games_data_parent ${root}/${CPACK_VORTIQ_GAMES_DATA_DIR} DIRECTORY)
file(MAKE_DIRECTORY ${games_data_parent})
file(RENAME ${root}/${CPACK_VORTIQ_DATA_DIR} ${root}/${CPACK_VORTIQ_GAMES_DATA_DIR})
