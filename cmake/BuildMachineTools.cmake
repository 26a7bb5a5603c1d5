# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Cross-building: the tools that run during the build and the tests are built for the build machine, with its
# own compiler, in build_machine/ of the build folder. VOSTREL_BUILD_MACHINE_TOOLS names that folder; the target
# build_machine_tools makes them.
include(ExternalProject)
set(VOSTREL_BUILD_MACHINE_TOOLS ${CMAKE_BINARY_DIR}/build_machine CACHE INTERNAL "")
ExternalProject_Add(build_machine_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/build_machine
  BINARY_DIR ${VOSTREL_BUILD_MACHINE_TOOLS}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  BUILD_BYPRODUCTS ${VOSTREL_BUILD_MACHINE_TOOLS}/ico_writer ${VOSTREL_BUILD_MACHINE_TOOLS}/bell_counter
                  ${VOSTREL_BUILD_MACHINE_TOOLS}/startup_bench
  BUILD_ALWAYS TRUE
  INSTALL_COMMAND "")
