# tessvane_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [GUI] [ENV VAR=value ...])
#
# Builds one GoogleTest executable and registers its cases with CTest.
# GUI tests run on Qt's offscreen platform, so they need no display.
if(BUILD_TESTING)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(tessvane_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(env ${T_ENV})
  if(T_GUI)
    list(APPEND env QT_QPA_PLATFORM=offscreen)
  endif()
  # The environment is set by running the program through env(1), both when its
  # cases are listed and when they run: a list of several variables cannot pass
  # through gtest_discover_tests' PROPERTIES intact.
  if(env)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "env;${env}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
