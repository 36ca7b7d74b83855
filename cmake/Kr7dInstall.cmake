# Installing and packaging.
# The build tree's application directory becomes <libdir>/tgauge, the private place of the
# application: the executables, our shared libraries, the description file and the translations
# side by side, the plug-in in plugins/ below, just where the host and the plug-in look for them
# (beside their own binary). <bindir> gets links to the two executables; the menu entry and its
# icon go to <datadir>.
include(GNUInstallDirs)
set(KR7D_INSTALL_APP_DIR ${CMAKE_INSTALL_LIBDIR}/tgauge)

# The installed binaries find our libraries relative to themselves, wherever the prefix is.
set_target_properties(tgauge iolink-master-sim ExtensionSystem Utils QtPropertyBrowser
    PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(IoLinkKR7Dfamily PROPERTIES INSTALL_RPATH "$ORIGIN/..")

install(TARGETS tgauge iolink-master-sim ExtensionSystem Utils QtPropertyBrowser
    RUNTIME DESTINATION ${KR7D_INSTALL_APP_DIR}
    LIBRARY DESTINATION ${KR7D_INSTALL_APP_DIR})
install(TARGETS IoLinkKR7Dfamily LIBRARY DESTINATION ${KR7D_INSTALL_APP_DIR}/plugins)
install(FILES ${CMAKE_SOURCE_DIR}/resources/IoLinkKR7Dfamily.xml
    DESTINATION ${KR7D_INSTALL_APP_DIR})
install(DIRECTORY ${KR7D_APP_DIR}/translations/
    DESTINATION ${KR7D_INSTALL_APP_DIR}/translations
    FILES_MATCHING PATTERN "*.qm")
install(FILES ${CMAKE_SOURCE_DIR}/resources/tgauge.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/tgauge.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

file(RELATIVE_PATH kr7d_link_target /${CMAKE_INSTALL_BINDIR} /${KR7D_INSTALL_APP_DIR})
foreach(program IN ITEMS tgauge iolink-master-sim)
    install(CODE "
        set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bindir}\")
        message(STATUS \"Installing: \${bindir}/${program}\")
        file(CREATE_LINK \"${kr7d_link_target}/${program}\" \"\${bindir}/${program}\" SYMBOLIC)")
endforeach()

# cpack -G DEB: one package; its dependencies come from dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME tgauge)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configures KR7D IO-Link fluid sensors through an IO-Link master")
set(CPACK_PACKAGE_CONTACT "KR7D plug-in team <kr7d@localhost>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tgauge)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as a Qt plug-in for the SVG icons, so no binary links it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt5svg5)
# Qt's own dialog texts in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
