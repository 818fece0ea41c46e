# The Debian package (`make package`): the program, its desktop entry, metainfo and icons, and
# the documents every Debian package carries. The libraries it links are found by
# dpkg-shlibdeps; what it loads at run time is named here: the window's faces and the stand-in
# for them, fontconfig that finds them, and Qt's Wayland platform for a session without X.
include(GNUInstallDirs)

set(MARVENTA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/marventa)
set(MARVENTA_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
execute_process(
    COMMAND gzip -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/changelog
    OUTPUT_FILE ${MARVENTA_CHANGELOG}
    COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_CURRENT_LIST_DIR}/marventa.1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${MARVENTA_CHANGELOG}
    DESTINATION ${MARVENTA_DOC_DIR})
set(MARVENTA_MANUAL ${CMAKE_CURRENT_BINARY_DIR}/marventa.1.gz)
execute_process(
    COMMAND gzip -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/marventa.1
    OUTPUT_FILE ${MARVENTA_MANUAL}
    COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${MARVENTA_MANUAL} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marventa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Map of Marventa <maps@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map viewer for the province of Marventa")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "One large province map, eight city maps, a small overview and a catalogue\n\
of several hundred named places, all compiled into the program. Pick a\n\
category, a city or a kind of standing stone in the side panel, pick a name,\n\
and the main view scrolls to the place and labels it.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)  # a companion to a game, not one itself
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-liberation, fonts-wine, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
