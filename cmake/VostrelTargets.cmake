# Compile settings for the project's own targets: warnings are errors here, and the
# sanitizer build instruments everything we compile.

if(VOSTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

function(vostrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
                                           -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Werror
                                           # Designated initializers leave the other members at their defaults on purpose.
                                           -Wno-missing-field-initializers)
endfunction()

# vostrel_test(NAME SOURCES... [LIBS libs...] [QT]): one GoogleTest executable, registered with CTest.
# QT tests run on the offscreen platform so they need no display.
function(vostrel_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vostrel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE vostrel_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(ARG_QT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()
