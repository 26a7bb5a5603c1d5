# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Compile settings for the project's own targets: warnings are errors here, and the
# sanitizer build instruments everything we compile.

# The same sources give the same bytes wherever they are built: no build folder in what the compiler writes.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
endif()

if(VOSTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

function(vostrel_warnings target)
  if(MSVC)
    # The sources are UTF-8 (the captions are Chinese).
    target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
                                             -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Werror
                                             # Designated initializers leave the other members at their defaults on purpose.
                                             -Wno-missing-field-initializers)
  endif()
endfunction()

# vostrel_test(NAME SOURCES... [LIBS libs...] [QT] [ENVIRONMENT var]): one GoogleTest executable whose cases
# CTest lists one by one. QT tests always run on the offscreen platform (their main sees to it).
function(vostrel_test name)
  cmake_parse_arguments(ARG "QT" "ENVIRONMENT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  # `--target unit_tests` builds every GoogleTest suite and nothing else.
  if(NOT TARGET unit_tests)
    add_custom_target(unit_tests)
  endif()
  add_dependencies(unit_tests ${name})
  vostrel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE vostrel_qt_test_main)
    target_precompile_headers(${name} REUSE_FROM vostrel_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(properties TIMEOUT 120 LABELS unit)
  if(ARG_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT ${ARG_ENVIRONMENT})
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Under an emulator every start is costly: the whole suite in one run, its cases in GoogleTest's own report
    # (gtest/NAME.xml in the build folder), which the test command counts case by case. The path is relative:
    # the program sees the emulated system's paths.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/gtest)
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:gtest/${name}.xml WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES ${properties})
  else()
    # Listed when CTest runs, not at build time: the sanitizer build's binaries then run only under the test
    # command's own settings.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  endif()
endfunction()
