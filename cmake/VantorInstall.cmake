# What `cmake --install` puts under the prefix, and the Debian package made
# from it with CPack. The executable finds an installed copy's pictures and
# fonts in ../share/vantor from bin/ (platform::resourceDirectory).
#
# The Windows build instead makes a zip: vantor.exe with PNG/ and TTF/ beside
# it, as the executable looks for them there.
if(WIN32)
  install(TARGETS vantor RUNTIME DESTINATION .)
  if(VANTOR_GUI)
    install(DIRECTORY ${VANTOR_BIN_DIR}/PNG ${VANTOR_BIN_DIR}/TTF DESTINATION .)
    set(VANTOR_ZIP ${CMAKE_BINARY_DIR}/vantor-windows-x64.zip)
    add_custom_command(OUTPUT ${VANTOR_ZIP}
      COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:vantor> -DBIN=${VANTOR_BIN_DIR}
              -DSTAGE=${CMAKE_BINARY_DIR}/zip -DZIP=${VANTOR_ZIP} -DOBJDUMP=${CMAKE_OBJDUMP}
              -DSTRIP=${CMAKE_STRIP} -P ${CMAKE_CURRENT_LIST_DIR}/VantorWindowsZip.cmake
      DEPENDS vantor vantor_resources ${CMAKE_CURRENT_LIST_DIR}/VantorWindowsZip.cmake
      COMMENT "Packing vantor-windows-x64.zip"
      VERBATIM)
    add_custom_target(vantor_zip DEPENDS ${VANTOR_ZIP})
  endif()
  return()
endif()

include(GNUInstallDirs)

set(VANTOR_APP_ID org.example.Vantor)

install(TARGETS vantor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(VANTOR_GUI)
  install(DIRECTORY ${VANTOR_BIN_DIR}/PNG ${VANTOR_BIN_DIR}/TTF
          DESTINATION ${CMAKE_INSTALL_DATADIR}/vantor)
  install(FILES packaging/${VANTOR_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 48 128 256 512)
    install(FILES ${CMAKE_BINARY_DIR}/icons/vantor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${VANTOR_APP_ID}.png)
  endforeach()
  configure_file(packaging/${VANTOR_APP_ID}.metainfo.xml
                 ${CMAKE_BINARY_DIR}/packaging/${VANTOR_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${VANTOR_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The manual page compressed, as Debian's policy wants it and man reads it;
# -n leaves the time out, so the same page gives the same bytes.
configure_file(packaging/vantor.6 ${CMAKE_BINARY_DIR}/packaging/vantor.6 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/vantor.6.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/vantor.6
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/vantor.6
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(vantor_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/vantor.6.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/vantor.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# `make package`: a .deb whose Depends line dpkg-shlibdeps works out from
# the libraries the executable links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vantor developers <vantor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reversi game against the computer, a friend or people online")
# The long description under the summary line, one string.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vantor is a Reversi game with menus in French and a lit 3D board. Play\n\
one of seven computer players, a friend at the same screen, or other\n\
people through the lobby of a game server, with chat and spectating.\n\
The same program is the game server: `vantor S` serves the lobby.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
