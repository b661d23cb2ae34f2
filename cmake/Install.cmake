# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it. The program
# finds its read-only files in share/jev beside bin/ (see ProgramFiles).
include(GNUInstallDirs)

set(JEV_APPSTREAM_ID io.github.duvevuvuraru.jev)
set(JEV_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/resources/packaging)
set(JEV_GENERATED_DIR ${PROJECT_BINARY_DIR}/packaging)

configure_file(${JEV_PACKAGING_DIR}/${JEV_APPSTREAM_ID}.metainfo.xml.in
               ${JEV_GENERATED_DIR}/${JEV_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${JEV_PACKAGING_DIR}/jev.1.in ${JEV_GENERATED_DIR}/jev.1 @ONLY)
configure_file(${JEV_PACKAGING_DIR}/changelog ${JEV_GENERATED_DIR}/changelog COPYONLY)
# Debian keeps manual pages and change logs compressed, reproducibly (no name, no time stamp).
foreach(page jev.1 changelog)
    add_custom_command(OUTPUT ${JEV_GENERATED_DIR}/${page}.gz
                       COMMAND gzip -9nkf ${JEV_GENERATED_DIR}/${page}
                       DEPENDS ${JEV_GENERATED_DIR}/${page} VERBATIM)
endforeach()
add_custom_target(jev_packaging_files ALL
                  DEPENDS ${JEV_GENERATED_DIR}/jev.1.gz ${JEV_GENERATED_DIR}/changelog.gz)

install(TARGETS jev RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help ${PROJECT_SOURCE_DIR}/resources/icons
                  ${PROJECT_SOURCE_DIR}/resources/samples
        DESTINATION ${CMAKE_INSTALL_DATADIR}/jev)
install(FILES ${PROJECT_SOURCE_DIR}/resources/jev.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/jev.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${JEV_GENERATED_DIR}/${JEV_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${JEV_GENERATED_DIR}/jev.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${JEV_PACKAGING_DIR}/copyright ${JEV_GENERATED_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jev)
set(CPACK_PACKAGE_VENDOR DuveVuvuraru)
set(CPACK_PACKAGE_CONTACT "DuveVuvuraru <duvevuvuraru@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "command a computer with voice")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "JEV! Voice Command listens to the microphone for the phrases you configured:\n"
    "an application's spoken name brings its window to the front or starts it, a\n"
    "phrase of its vocabulary types keystrokes into the application in front.\n"
    "Recognition runs offline with PocketSphinx. Windows and keystrokes go through\n"
    "X11.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from dpkg-shlibdeps; what is loaded or read at run time is named here: the
# acoustic model, Qt's X11 platform plugin, the SVG reader of the icons, and xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "pocketsphinx-en-us, qt6-qpa-plugins, libqt6svg6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, fonts-dejavu-core")
include(CPack)
