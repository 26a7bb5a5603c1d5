# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Where a Linux desktop finds the program, its menu entry, its metadata, its icons and its manual page; and the
# .deb package, kept clean for lintian.
include(GNUInstallDirs)

set(VOSTREL_APP_ID org.vostrel.Vostrel)
set(VOSTREL_PACKAGE_MAINTAINER "The Vostrel authors <packages@vostrel.org>"
    CACHE STRING "Maintainer of the .deb package: a name and an address")

# The manual page and the Debian changelog are installed compressed; gzip -n leaves out the name and the time,
# so the same sources give the same bytes.
find_program(VOSTREL_GZIP gzip REQUIRED)
set(VOSTREL_DOC_DIR ${PROJECT_BINARY_DIR}/doc)
set(VOSTREL_GZIPPED)
foreach(source resources/vostrel.1 resources/debian/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(
    OUTPUT ${VOSTREL_DOC_DIR}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${VOSTREL_DOC_DIR}/${name}
    COMMAND ${VOSTREL_GZIP} -9nf ${VOSTREL_DOC_DIR}/${name}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND VOSTREL_GZIPPED ${VOSTREL_DOC_DIR}/${name}.gz)
endforeach()
add_custom_target(docs_gzipped ALL DEPENDS ${VOSTREL_GZIPPED})

install(TARGETS vostrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} BUNDLE DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${VOSTREL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${VOSTREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${VOSTREL_ICON_DIR}/vostrel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${VOSTREL_APP_ID}.png)
endforeach()
install(FILES ${VOSTREL_ICON_DIR}/vostrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VOSTREL_APP_ID}.svg)
install(FILES ${VOSTREL_DOC_DIR}/vostrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# A native package (no Debian revision in its version): lintian wants changelog.gz, not changelog.Debian.gz.
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${VOSTREL_DOC_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vostrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGE_VERSION 1.00)
set(CPACK_PACKAGE_VENDOR "The Vostrel authors")
set(CPACK_PACKAGE_CONTACT "${VOSTREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL https://vostrel.org)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The first line is the synopsis, the rest the extended description. CPACK_PACKAGE_DESCRIPTION_SUMMARY stays
# unset: CPack would put it in front of this as a second synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Shows one 32-bit integer in decimal, hexadecimal and binary at once
Vostrel is a thin, borderless strip that stays above other windows while you
read dumps, registers and protocol traces. It shows one signed 32-bit integer
in decimal, in hexadecimal and in binary grouped by eight bits. Typing into the
decimal or the hexadecimal field updates the other two on every keystroke, and
the strip reopens where it was closed.")
# The Qt libraries come from the binary's own links; the xcb platform plugin ships with libqt6gui6; the font that
# draws the Chinese captions at the layout's widths is named here. Qt's own translations give its menus and
# messages in the user's language.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6gui6 (>= 6.2), fonts-wqy-zenhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# The install makes its directories through the umask, so a builder with umask 077 would package 0700
# directories; they are set to 0755 in the staging folder before the package is made. (Files get their modes from
# install(); control and md5sums come out 0644.)
set(VOSTREL_STAGING_PERMISSIONS ${PROJECT_BINARY_DIR}/VostrelStagingPermissions.cmake)
file(WRITE ${VOSTREL_STAGING_PERMISSIONS} [[
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                       WORLD_EXECUTE)
  endif()
endforeach()
]])
set(CPACK_PRE_BUILD_SCRIPTS ${VOSTREL_STAGING_PERMISSIONS})
include(CPack)

# `cmake --build BUILD --target deb` makes package/vostrel_VERSION_ARCH.deb, stamped with SOURCE_DATE_EPOCH (the
# last commit's time when it is not set), so that the same sources give the same bytes.
add_custom_target(deb
  COMMAND sh -c "SOURCE_DATE_EPOCH=\${SOURCE_DATE_EPOCH:-$(git -C '${PROJECT_SOURCE_DIR}' log -1 --format=%ct)} \
                 exec '${CMAKE_CPACK_COMMAND}' -G DEB -B '${PROJECT_BINARY_DIR}/package'"
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  COMMENT "Making the .deb"
  VERBATIM)
add_dependencies(deb vostrel icon_files_generated docs_gzipped)
