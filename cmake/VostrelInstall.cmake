# Where a Linux desktop finds the program, its menu entry, its metadata and its icons; and the .deb package.
include(GNUInstallDirs)

set(VOSTREL_APP_ID org.vostrel.Vostrel)

install(TARGETS vostrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/${VOSTREL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${VOSTREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32)
  install(FILES ${VOSTREL_ICON_DIR}/vostrel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${VOSTREL_APP_ID}.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGE_VERSION 1.00)
set(CPACK_PACKAGE_VENDOR "The Vostrel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shows one 32-bit integer in decimal, hexadecimal and binary at once")
set(CPACK_PACKAGE_CONTACT "The Vostrel developers <vostrel@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The Qt libraries come from the binary's own links; the xcb platform plugin ships with libqt6gui6; the font that
# draws the Chinese captions at the layout's widths is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6gui6 (>= 6.2), fonts-wqy-zenhei | fonts-noto-cjk")
include(CPack)
