# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# The Windows packages, made with every build of the program for Windows:
# - vostrel-VERSION-win64.zip: vostrel.exe, LICENSE and README.txt, to run from anywhere;
# - vostrel-VERSION-setup.exe: an installer for the user who runs it, without administrator rights (NSIS).
# Both are the same bytes for the same sources: the zip's time stamps are SOURCE_DATE_EPOCH (the last commit's
# time when it is not set), the installer keeps none.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(VOSTREL_MAKENSIS makensis)

set(VOSTREL_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/vostrel-${PROJECT_VERSION}-win64.zip)
set(VOSTREL_WINDOWS_INSTALLER ${CMAKE_BINARY_DIR}/vostrel-${PROJECT_VERSION}-setup.exe)
set(readme ${PROJECT_SOURCE_DIR}/resources/windows/README.txt)
set(license ${PROJECT_SOURCE_DIR}/LICENSE)

add_custom_command(
  OUTPUT ${VOSTREL_WINDOWS_ZIP}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/make_zip.py --source ${PROJECT_SOURCE_DIR}
          ${VOSTREL_WINDOWS_ZIP} vostrel.exe=$<TARGET_FILE:vostrel> LICENSE=${license} README.txt=${readme}
  DEPENDS vostrel ${license} ${readme} ${PROJECT_SOURCE_DIR}/cmake/make_zip.py
  COMMENT "Packing ${VOSTREL_WINDOWS_ZIP}"
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${VOSTREL_WINDOWS_ZIP})

if(VOSTREL_MAKENSIS)
  set(script ${PROJECT_SOURCE_DIR}/resources/windows/vostrel.nsi)
  add_custom_command(
    OUTPUT ${VOSTREL_WINDOWS_INSTALLER}
    COMMAND ${VOSTREL_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DEXE=$<TARGET_FILE:vostrel> -DLICENSE=${license}
            -DREADME=${readme} -DICON=${VOSTREL_ICON_DIR}/vostrel.ico -DOUTFILE=${VOSTREL_WINDOWS_INSTALLER} ${script}
    DEPENDS vostrel icon_files_generated ${script} ${license} ${readme}
    COMMENT "Making ${VOSTREL_WINDOWS_INSTALLER}"
    VERBATIM)
  add_custom_target(windows_installer ALL DEPENDS ${VOSTREL_WINDOWS_INSTALLER})
else()
  message(STATUS "The Windows installer is left out: it needs makensis (Debian package nsis)")
endif()
